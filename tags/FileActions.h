#pragma once
// The file operations behind rename, move, copy ("Save as") and delete, and the names they
// work out, without widgets. No operation replaces an existing file unless the caller says the
// user agreed; delete moves files to the freedesktop trash, never deletes them for good.

#include <QString>
#include <QStringList>

namespace FileActions {

// True when path names an existing file (not a folder); false for an empty path.
bool FileExists(const QString &path);
// True when both paths lead to the same file (the same path, or another spelling of it on a
// file system that ignores case).
bool SameFile(const QString &a, const QString &b);
// True when both paths name one entry of one folder: the same name, or a spelling of it the
// file system takes for it, the folder perhaps reached another way. False for two hard links.
bool SameEntry(const QString &a, const QString &b);

enum class Result {
    Done,
    SourceMissing, // nothing done: the source is not there
    TargetExists, // nothing done: another file has the target's name
    Failed, // the system refused; see error
};
struct Outcome
{
    Result result = Result::Done;
    QString error; // the system's reason when Failed
    bool ok() const { return result == Result::Done; }
};

// Gives the file at from the path to (another folder too, across file systems). An existing
// file at to is replaced only with replace; otherwise it stays and TargetExists comes back.
// That holds for another name of the same file too (a hard link): with replace, from goes. A
// change the file system ignores (of case) is made, or Failed when it cannot be.
Outcome RenameThisFile(const QString &from, const QString &to, bool replace = false);
// Copies from to to with its permissions and modification time. An existing file at to is
// replaced (all at once, never left half-written) only with replace.
Outcome CopyThisFile(const QString &from, const QString &to, bool replace = false);
// Moves the files to the trash. Returns 0 when every one went, otherwise the number that did
// not; error receives the last reason.
int RecycleFiles(const QStringList &paths, QString *error = nullptr);

// The rename box: the trimmed text when it differs from the name shown (case counts), else "".
QString RenameBoxResult(const QString &typed, const QString &shown);

// Where a name typed in the rename box puts the file: a plain name stays in folder; a text
// holding "/" is a path (relative ones from folder) and moves the file. Not valid when the name
// part is empty, "." or "..".
struct RenameTarget
{
    QString path, folder, name;
    bool valid = false;
};
RenameTarget RenameTargetOf(const QString &renameText, const QString &folder);

// The file name as the move folder picker's title shows it: at most 45 characters, a longer
// one cut to 42 followed by " ..".
QString MoveDisplayName(const QString &fileName);

// What "Save as" proposes for the current file.
struct SaveAsProposal
{
    QString extension; // the type in lower case
    QString baseName; // the name without its extension
    QString filter; // the type's entry, then all files
    QString fileName; // "Copy of " + base in the current folder, else the base
};
SaveAsProposal SaveAsProposalFor(const QString &currentFile, const QString &currentType,
    const QString &saveFolder, const QString &currentFolder, const QString &allFilesText,
    const QString &copyOfText);
// The chosen name cut at its first NUL, with "." + extension added when its last four
// characters hold no "." and the filter chosen is not "All Files" (entry 2).
QString SaveAsChosenName(const QString &chosen, int filterIndex, const QString &extension);

} // namespace FileActions
