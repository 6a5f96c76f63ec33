#pragma once
// The caption and tooltip tables of the program's windows: which object gets which numbered
// text, in the order they are applied. Plain data, no widgets, so the message file can be
// checked against it without a display.

#include <QString>
#include <vector>

// How a caption is formed from its text.
enum class CaptionDecoration {
    None,
    WindowTitle, // " Tonvera - " + text, set as the window title
    Padded, // " " + text + " "
    AccessKey, // "&" + text
    Copied, // the current caption of another object (copyFrom)
    AccessibleName, // no caption shown: the name a screen reader says
};

struct CaptionEntry
{
    const char *object; // objectName; empty for the window itself
    int number; // message number; 0 for copied captions
    const char *english;
    CaptionDecoration decoration;
    const char *copyFrom; // objectName whose caption is copied, for Copied
};

struct TooltipEntry
{
    const char *object;
    int number;
    const char *english;
};

// The tables, in the order they are applied; empty for a window without entries.
const std::vector<CaptionEntry> &CaptionTable(const QString &windowName);
const std::vector<TooltipEntry> &TooltipTable(const QString &windowName);
