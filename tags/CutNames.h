#pragma once
// Names of the files made from a cut section: a string or an incremental number "[N]" added
// after or before the output name. Plain rules, no widgets.

#include <QString>
#include <QStringList>

namespace CutNames {

// The rule chosen in the "Filename Rules" window.
struct Rule
{
    bool numbered = false; // "[N]", otherwise text
    bool after = true; // after the name, otherwise before it
    QString text; // the string added (numbered rules ignore it)
};

// The number the next cut file of baseName gets: one more than the largest number found in
// the names of existing files ("B_[3].wma" after, "[3]_B.wma" before); 1 when there is none.
// A text that is not a number counts as no number.
int NextNumber(const QString &baseName, bool after, const QStringList &existingNames);

// The cut file's base name under rule; existingNames are the files already there.
QString CutFileName(const Rule &rule, const QString &baseName, const QStringList &existingNames);

// CutFileName with the files of the given folders (the input folder, and the output folder
// when it is another one, so that a new cut file never takes an earlier one's name).
QString ApplyCutNameRule(const Rule &rule, const QString &baseName, const QStringList &folders);

} // namespace CutNames
