#pragma once
// The file information panel of the main window: what the current file is (name, type picture,
// size, date, playing time) and what it holds (MP3 tag fields, WMA clip information, WAV format).
// Showing a file also stores its tag values, audio properties, length and validity in AppState,
// where the tag editor, the profile choice and the conversion take them from.

#include "PanelText.h"

#include <QString>

class QAbstractButton;
class QFrame;
class QLabel;
class QWidget;
class MediaControls;
class MediaProbe;
class Mp3SectionDecoder;
class StatusLine;
struct AppState;
namespace taglet {
class Taglet;
}

// The controls of the main window that the panel drives.
struct InfoPanelWidgets
{
    QWidget *window = nullptr; // its icon stands for files of no known type
    QLabel *LabTit = nullptr;
    QLabel *ImgTyp = nullptr;
    QLabel *ImgMP3 = nullptr;
    QLabel *ImgWav = nullptr;
    QLabel *ImgWMA = nullptr;
    QLabel *LabMsg = nullptr;
    QLabel *LabTime = nullptr;
    QLabel *LabInfo = nullptr;
    QLabel *LabComment = nullptr;
    QLabel *LabINP = nullptr;
    QLabel *LabOUT = nullptr;
    QLabel *LabBarINP = nullptr;
    QLabel *LabBarOUT = nullptr;
    QAbstractButton *chkWMA = nullptr;
    QAbstractButton *chkWAV = nullptr;
};

class InfoPanel
{
public:
    // From media: TagletPro1 reads MP3 tags and audio headers, MediaPlayer2 measures files and
    // reads WMA clip information, Mp3Play1 tells whether an MP3 can be decoded. A file that
    // cannot be converted is reported on the status line.
    InfoPanel(
        const InfoPanelWidgets &widgets, AppState &state, MediaControls &media, StatusLine &status);

    // The input list made path (of type "MP3", "WAV" or "WMA") the current file: stores its
    // length, audio properties and validity and fills the panel. Returns false for an empty
    // file, which shows its name, size and date and nothing more.
    bool ShowCurrentFile(const QString &path, const QString &type);

    // Fills the panel for a file; state.SourceLengthMs must already hold its length.
    void ShowFileInfo(const QString &path, const QString &type);
    // Name, type picture, size and date.
    void ShowFileHeader(const QString &path, const QString &type);
    // Empties the panel and the tag fields it owns.
    void Clear_Info();

private:
    // Reads the file's tag into TagletPro1 in its modern mode; a failed read keeps what was
    // read before it.
    void readTag(const QString &path);
    // The panel's file details; tagRead when TagletPro1 already holds this file's tag.
    void showDetails(const QString &path, const QString &type, bool tagRead);
    void showWavInfo(const QString &path);
    void showMp3Info(const QString &path, bool tagRead);
    void showWmaInfo(const QString &path);
    double probedLengthMs(const QString &path);
    // The words of the panel's lines in the interface language.
    PanelText::Words words() const;

    InfoPanelWidgets w;
    AppState &state;
    StatusLine &status;
    taglet::Taglet &TagletPro1;
    MediaProbe &MediaPlayer2;
    const Mp3SectionDecoder &Mp3Play1;
};
