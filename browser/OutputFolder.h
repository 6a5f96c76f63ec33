#pragma once
// Rules of the output folder: how it is written and how its label shows it.

#include <QString>

namespace OutputFolder {

// Longer folders than this show only their end in the label.
constexpr int LabelLimit = 38;
constexpr int LabelTail = 36;

struct Label
{
    QString text;
    bool centred = false;
    QString toolTip;
};

// A folder shorter than 38 characters is shown whole and left-aligned; a longer one as " .."
// and its last 36 characters, centred, with the whole folder as tooltip.
Label LabelFor(const QString &folder);

} // namespace OutputFolder
