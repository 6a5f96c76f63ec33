#pragma once
// The real main window, started as the program starts it: settings written first, then
// MainWindow and AppShell::start, with the scripted services of GuiFixture.

#include "AppShell.h"
#include "GuiFixture.h"
#include "MainWindow.h"
#include "core/AppState.h"
#include "core/Settings.h"
#include "ui_frmMain.h"

#include <QFile>

#include <memory>

class WindowFixture : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        appFolder = path(QStringLiteral("app"));
        QDir().mkpath(appFolder);
    }

    void TearDown() override
    {
        closeWindow();
        GuiFixture::TearDown();
    }

    // Writes the given values into the settings store before the start.
    void storeSettings(const QList<std::pair<QString, QString>> &values,
        const QString &section = QStringLiteral("UserDef"))
    {
        Settings s;
        for (const auto &[key, value] : values)
            s.setText(section, key, value);
        s.sync();
    }

    bool start(const QStringList &arguments = {})
    {
        settings = std::make_unique<Settings>();
        window = std::make_unique<MainWindow>(state, *settings, services);
        shell = new AppShell(*window, appFolder);
        return shell->start(arguments);
    }

    void closeWindow()
    {
        if (window)
            window->close();
        window.reset();
    }

    Ui::frmMain &ui() const { return window->ui(); }

    // The real decoder and encoder beside the program, as installed.
    void linkHelpers()
    {
        for (const char *helper : {"tnvr3w", "wm8eutil"})
            QFile::link(QStringLiteral(TONVERA_BIN_DIR "/") + QLatin1String(helper),
                appFolder + QLatin1Char('/') + QLatin1String(helper));
    }

    QString appFolder;
    AppState state;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<MainWindow> window;
    AppShell *shell = nullptr;
};
