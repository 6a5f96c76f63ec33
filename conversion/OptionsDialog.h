#pragma once
// The options between the files of a run: a copy of the main window's conversion options that
// the user may change for this and the later files, or cancel the run with.

#include <QString>
#include <QStringList>

// The conversion options as the dialog shows and returns them.
struct OptionValues
{
    QString fileName; // the file about to be converted
    QStringList profiles;
    int profileIndex = 0;
    bool automatic = false; // Option1, else Option2
    bool createWma = true, createWav = false, editTag = false, alwaysShow = true;
    bool cutOnly = false, cutAvailable = false; // chkCut, and whether a section is set
    // The size display beside the options.
    QString inputType, outputType, inputSize, outputSize;
    int inputBar = 0, outputBar = 0; // pixels
};

class OptionsDialogService
{
public:
    virtual ~OptionsDialogService() = default;
    // Shows values; false when the user cancelled (values are then left as they were).
    virtual bool showOptions(OptionValues &values) = 0;
};
