#pragma once
// What a conversion run asks of the file browser, without knowing its controls: the files to
// take when it starts, showing one of them while it is planned (which refreshes the current
// file, its type, its tag fields and the automatic profile), unmarking the files it took, and
// listing the new files it made.

#include <QString>
#include <QStringList>

class BrowserAccess
{
public:
    virtual ~BrowserAccess() = default;

    // The paths of the marked entries, in list order.
    virtual QStringList markedPaths() const = 0;
    // The path of the current entry; "" when none is current (after a type change).
    virtual QString currentPath() const = 0;
    // Makes the file current as a click on its entry would, without touching the marks; a file
    // the list no longer shows is shown in the information panel all the same.
    virtual void showFile(const QString &path) = 0;
    // Runs the current entry's click again (CurrentFile, SourcePath, tag fields, commands).
    virtual void refreshCurrent() = 0;
    // Unmarks the entries of these files; the others keep their marks.
    virtual void unmark(const QStringList &paths) = 0;
    // The output list starts empty for a new run.
    virtual void clearOutputList() = 0;
    // A converted file: into the output list, as its current entry.
    virtual void addOutputFile(const QString &path) = 0;
    // A new file in the input folder: listed when the type box shows its type, replacing an
    // entry of the same path.
    virtual void addInputFile(const QString &path) = 0;
};
