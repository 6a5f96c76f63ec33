#pragma once
// Small path and file routines shared by every subsystem. Only "/" separates folders; a "\" is
// an ordinary character of a name on Linux ("AC\DC - x.mp3" is one name).

#include <QString>

// The folder part of path: what comes before the last "/". A separator at the very start yields
// the whole path; no separator leaves result unchanged.
void FolderOfPath(const QString &path, QString &result);

// The name after the last "/"; the whole path when it has none.
QString FileNameOfPath(const QString &path);

// Appends "/" unless the trimmed path already ends in "/" (trailing blanks dropped).
void AddTrailingSeparator(QString &path);

// Linux has no short names: the path unchanged.
QString ShortPathOf(const QString &path);

// The text before the first NUL character.
QString TrimAtNul(const QString &text);

// The folder without trailing "/"; the root "/" stays "/".
QString WithoutTrailingSeparator(const QString &folder);

// The type of a file by its name: the extension in upper case ("MP3", "WAV", "WMA"), with
// "WMV" counted as "WMA"; "" without an extension of up to three characters.
QString FileTypeOf(const QString &name);

// folder + "/" + name with exactly one separator between them, so that "/" + "x" is "/x".
QString JoinPath(const QString &folder, const QString &name);

// Creates a new, empty, uniquely named file in folder whose name starts with prefix; name
// receives its full path. False (name untouched) when the file could not be created.
bool MakeTempFileName(const QString &folder, const QString &prefix, QString &name);

// Removes one of the program's own temporary files, read-only or not; nothing when it is
// not there. Failures are ignored.
void RemoveTemporaryFile(const QString &path);

// Deletes the plain files in folder (not subfolders); with removeFolder also removes the folder
// itself when it is then empty. Failures are ignored: whatever could be removed is.
void ClearFolder(const QString &folder, bool removeFolder);
