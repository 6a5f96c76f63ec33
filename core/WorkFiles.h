#pragma once
// The program's own files outside the user's folders: the working folder that holds conversion
// temporaries, the folder for the encoder's batch and configuration files, and the batch script.

#include <QString>

// $XDG_RUNTIME_DIR/Tnvm, or <temp>/Tnvm-<uid> when the runtime folder is not set; no trailing "/".
// A private per-user name: a fixed shared name in /tmp could be pre-created by another user.
QString WorkFolderPath();

// Creates the working folder (mode 0700) or empties it when it exists. False when it cannot be
// made, or when the existing path is not a folder owned by this user.
bool PrepareWorkFolder(const QString &folder);

// The working folder for this run: WorkFolderPath() prepared as above; when that name is taken
// by something that is not our folder (a link, another user's folder), a fresh private folder
// <temp>/Tnvm-<uid>-XXXXXX instead, so that emptying the working folder can never reach files
// behind a planted name. "" when no folder could be made.
QString OpenWorkFolder();

// Where "tmpbat.sh" and "tmpconf.weu" live: the program folder when it is writable (a build
// tree), else $XDG_STATE_HOME/Tonvera (default ~/.local/state/Tonvera), created on demand.
// Always ends in "/".
QString ProgramDataFolder(const QString &appFolder);

// The name, without extension, of a conversion's temporary files for the file in flight in
// slot: "~tmpw_0", "~tmpw_1", ...
QString ConversionTemporaryName(int slot);
// True for the name of a conversion's temporary file, in any slot.
bool IsConversionTemporary(const QString &fileName);

// The encoder's script or configuration file of a file in flight in slot: the designed path for
// slot 0, "name_N.ext" beside it for the others.
QString SlotFilePath(const QString &path, int slot);

// Files a run of several converts at once for the setting (0: one per processor core, at most
// 8); never below 1.
int FilesAtOnceOf(int setting);

// Quotes text for a POSIX shell: 'text' with every ' written as '\''.
QString ShellQuote(const QString &text);

// The two-line script that runs the encoder on the configuration file; line 1 marks the job.
QByteArray BatchScriptText(const QString &encoderPath, const QString &configPath);

// Replaces batchPath with the script. Written under a temporary name first and renamed, so a
// failed write never leaves a half-written script. False when it could not be written.
bool WriteBatchFile(
    const QString &batchPath, const QString &encoderPath, const QString &configPath);
