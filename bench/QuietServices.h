#pragma once
// Services for a window under a benchmark: nothing modal may open, every question is cancelled,
// nothing is picked, and the sound device is taken as present.

#include "core/Services.h"

class QuietServices
    : public MessageBoxService
    , public FolderPickerService
    , public SoundDeviceService
    , public LanguageChooserService
{
public:
    int show(const QString &, int) override { return 2; }
    QString pickFolder(const QString &, const QString &) override { return {}; }
    bool hasAudioOutput() override { return true; }
    QString chooseLanguage(const QString &) override { return QStringLiteral("EN"); }
};
