#pragma once
// Platform services the controllers use, behind small interfaces. The real implementations
// show real dialogs; tests hand in scripted ones so that no modal dialog ever blocks a run.

#include "core/Volumes.h"

#include <QList>
#include <QRect>
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

// The rename box over a list entry (place: the entry's rectangle on screen). Returns the new
// name, or "" when the name was left unchanged or the box was left with Escape.
class RenameBoxService
{
public:
    virtual ~RenameBoxService() = default;
    virtual QString askNewName(const QString &name, const QRect &place) = 0;
};

// The file dialog as "Save as" uses it: properties set before, read after.
struct FileDialogRequest
{
    QString DialogTitle;
    QString InitDir;
    QString Filter; // "description|pattern|description|pattern..."
    int FilterIndex = 1; // 1-based; after success the entry chosen
    quint32 Flags = 0;
    QString FileName; // proposed name; after success the chosen full path
    QString Error; // after a failure that was no cancel: what went wrong, for the user
};
class FileDialogService
{
public:
    virtual ~FileDialogService() = default;
    // False when the user cancelled or the dialog failed (Error then says why).
    virtual bool ShowOpen(FileDialogRequest &request) = 0;
};

// The tag editor, before a file of a run and for every file of a tag-only run. It starts from
// the shared tag fields and OutputBaseName and leaves the confirmed ones there. False when the
// user cancelled (DialogCancelled is then set).
class TagEditorService
{
public:
    virtual ~TagEditorService() = default;
    virtual bool editTagInfo() = 0;
};

// The rules window for the names of cut files, before a run that converts the cut section. It
// leaves the rule in the shared state. False when the user cancelled (RunStopped is then set).
class CutNameRulesService
{
public:
    virtual ~CutNameRulesService() = default;
    virtual bool askCutNameRules() = 0;
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
    RenameBoxService *renameBox = nullptr;
    FileDialogService *fileDialog = nullptr;
};
