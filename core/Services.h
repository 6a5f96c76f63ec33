#pragma once
// Platform services the controllers use, behind small interfaces. The real implementations
// show real dialogs; tests hand in scripted ones so that no modal dialog ever blocks a run.

#include "core/Volumes.h"

#include <QList>
#include <QString>

// A message box with the program's flags: 16 critical, 32 question, 48 exclamation,
// 64 information, plus 4 Yes/No, 3 Yes/No/Cancel, 256 second button default.
// Returns the button pressed: 1 OK, 2 Cancel, 6 Yes, 7 No.
class MessageBoxService
{
public:
    virtual ~MessageBoxService() = default;
    virtual int show(const QString &text, int flags) = 0;
};

// Lets the user pick a folder; returns "" when cancelled.
class FolderPickerService
{
public:
    virtual ~FolderPickerService() = default;
    virtual QString pickFolder(const QString &title, const QString &startFolder) = 0;
};

// Whether the machine can play sound at all.
class SoundDeviceService
{
public:
    virtual ~SoundDeviceService() = default;
    virtual bool hasAudioOutput() = 0;
};

// The language chooser: returns "EN" or "IT". Closing it without a choice keeps currentCode
// ("EN" when there is none yet).
class LanguageChooserService
{
public:
    virtual ~LanguageChooserService() = default;
    virtual QString chooseLanguage(const QString &currentCode) = 0;
};

// The volumes mounted now (drives of the drive box).
class VolumeService
{
public:
    virtual ~VolumeService() = default;
    virtual QList<Volume> mountedVolumes() = 0;
};

// The machine's own volumes.
class MountedVolumes : public VolumeService
{
public:
    QList<Volume> mountedVolumes() override { return Volumes::current(); }
};

// The services handed to the window and its controllers. The program passes the real ones;
// tests pass scripted ones. Not owned.
struct AppServices
{
    MessageBoxService *messages = nullptr;
    FolderPickerService *folders = nullptr;
    SoundDeviceService *sound = nullptr;
    LanguageChooserService *languages = nullptr;
    VolumeService *volumes = nullptr;
};
