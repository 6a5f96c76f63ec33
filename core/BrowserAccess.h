#pragma once
// What a run over the marked files asks of the file browser, without knowing its controls:
// walking the marked entries, making one of them current (which refreshes the current file,
// its type and its tag fields), clearing the marks at the end, and listing new files.

#include <QString>

class BrowserAccess
{
public:
    virtual ~BrowserAccess() = default;

    virtual int entryCount() const = 0;
    virtual bool isMarked(int row) const = 0;
    virtual int markedCount() const = 0;
    // An entry is current (the file a run without marks converts).
    virtual bool hasCurrent() const = 0;
    // The file name of an entry.
    virtual QString fileNameAt(int row) const = 0;
    // Makes the entry current without touching the marks, as a click on it would.
    virtual void makeCurrent(int row) = 0;
    // Runs the current entry's click again (CurrentFile, SourcePath, tag fields, commands).
    virtual void refreshCurrent() = 0;
    // Unmarks every entry, as clearing All/None does.
    virtual void clearMarks() = 0;
    // The output list starts empty for a new run.
    virtual void clearOutputList() = 0;
    // A converted file: into the output list, as its current entry.
    virtual void addOutputFile(const QString &path) = 0;
    // A new file in the input folder: listed when the type box shows its type, replacing an
    // entry of the same path.
    virtual void addInputFile(const QString &path) = 0;
};
