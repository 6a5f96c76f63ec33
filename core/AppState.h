#pragma once
// The state every window of Tonvera shares for the life of the process. One instance, owned by
// the application and handed by reference to the controllers; there are no other globals.
// Names follow the program's long-standing variable names so behaviour is easy to trace.

#include "core/CutSection.h"

#include <QString>
#include <cstdint>

struct AppState
{
    // Folders and files
    QString AppFolder; // the program's folder, always ending in a separator
    QString CurrentFolder; // current input folder
    QString CurrentFile; // name of the input file last selected; "" when none
    QString CurrentOutputFile; // name of the output file last selected
    QString OutputFolder; // folder that receives converted files
    QString UserOutputFolder; // the user's own output folder
    QString SaveFolder; // target folder of save/copy
    QString WorkFolder; // temporary working folder
    QString BatchFilePath; // encoder batch script
    QString ConfigFilePath; // encoder configuration file
    QString SourcePath; // full path of the current input / file being converted
    QString CurrentType; // "MP3", "WAV" or "WMA"
    QString ClickedFilePath; // file last clicked in either list
    QString ShownFilePath; // file the information panel shows

    // Browser
    QString SortOrder; // "A", "E", "D", "S" or ""
    int16_t TypeIndex = 0; // index of the type filter in CboType
    QString LastTypeText; // CboType text last applied
    bool BrowseEventsOn = false;
    bool PathTyped = false;
    bool OutputListActive = false;
    int RunListIndex = -1; // the input list's current row

    // Language and texts
    QString LanguageCode; // "EN" or "IT"
    QString MessageSection; // "msg" + LanguageCode
    QString MessageFilePath; // PRMSG in the program's data folder
    QString HelpFilePath;
    QString HelpIndexPath;

    // Message box in progress
    QString MsgText;
    int MsgFlags = 0;
    int MsgResult = 0;

    // Names of outputs: the separator of the name rules and the rule for cut-section files
    bool CutNamesOn = false;
    QString NameSeparator = QStringLiteral(" ");
    bool CutNameNumbered = false; // "[N]" is added, otherwise CutNameText
    bool CutNameAfter = true; // the addition goes after the name, otherwise before it
    QString CutNameText = QStringLiteral("cut");

    // Tag values of the current file, filled by the information panel
    QString TagTitle, TagArtist, TagAlbum, TagCopyright, TagDescription, TagGenre, TagYear,
        TagTrack;
    // An MP3's band or album artist (TPE2), composer (TCOM) and track frame (TRCK, "5/12"): not
    // shown, but carried into the WMA.
    QString TagAlbumArtist, TagComposer, TagTrackFrame;
    float InputBitRate = 0; // bits per second
    float InputFrequency = 0; // Hz
    double SourceLengthMs = 0;
    bool FileFormatValid = false;
    int WaveBitsPerSample = 0;

    // What a conversion or tag run shares with the dialogs it opens; the run's own progress,
    // names and answers stay in the run.
    QString OutputBaseName; // the output's name for the tag editor, without extension
    QString NewFilePath; // the new path of a file renamed by a tag-only run
    // Files the conversion would take (the browser's count); while the tag editor is open for
    // a run, the run's files and the number before the one edited.
    int16_t QueueCount = 0, QueueDone = 0;
    bool CutSectionOnly = false, EditTagInfo = false, TagOnlyMode = false;
    bool RunStopped = false, DialogCancelled = false;
    QString ProfileName;
    CutSection Cut; // the section of the current file to play or convert
    float kTimeMP3 = 2.5f, kTimeWAV = 2.5f;
    int FilesAtOnce = 1; // files a run of several converts at once
};
