#pragma once
// The main window for a benchmark: throwaway settings, nothing modal may open (every question is
// cancelled, nothing is picked, the sound device is taken as present), the type box filled and
// set to typeIndex. It is shown and takes browsing events, but has not listed a folder yet.

#include "app/MainWindow.h"
#include "browser/TypeFilter.h"
#include "core/AppState.h"
#include "core/Services.h"
#include "core/Settings.h"
#include "ui_frmMain.h"

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>

class QuietServices
    : public MessageBoxService
    , public FolderPickerService
    , public SoundDeviceService
    , public LanguageChooserService
{
public:
    int show(const QString &text, int) override
    {
        messages << text;
        return answer;
    }
    QString pickFolder(const QString &, const QString &) override { return {}; }
    bool hasAudioOutput() override { return true; }
    QString chooseLanguage(const QString &) override { return QStringLiteral("EN"); }

    int answer = 2; // to every message box
    QStringList messages; // what they said
};

struct QuietWindow
{
    explicit QuietWindow(int typeIndex)
    {
        ui.CboType->addItems(TypeBoxEntries(QStringLiteral("Supported")));
        ui.CboType->setCurrentIndex(typeIndex);
        window.show();
        app.BrowseEventsOn = true;
    }

    QTemporaryDir config;
    // Set before the settings below are opened.
    bool configSet = qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QuietServices quiet;
    MountedVolumes volumes;
    const AppServices services {&quiet, &quiet, &quiet, &quiet, &volumes};
    AppState app;
    Settings settings;
    MainWindow window {app, settings, services};
    Ui::frmMain &ui = window.ui();
};
