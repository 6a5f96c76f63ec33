#pragma once
// The program's frame around the main window: the start (from the settings to the shown window
// with its first folder listed), the shutdown (settings saved, working files removed), the
// language choice, help and About.

#include <QObject>
#include <QPointer>
#include <QStringList>

#include "HelpWindow.h"
#include "QtTranslation.h"

class KeyboardFilter;
class MainWindow;
class Settings;
struct AppServices;
struct AppState;

class AppShell : public QObject
{
    Q_OBJECT

public:
    // appFolder: the folder holding the program and its helper programs.
    AppShell(MainWindow &window, const QString &appFolder);
    ~AppShell() override;

    // Runs the whole start and shows the window. False when the program must end at once
    // (no sound output); nothing has then been written or deleted. arguments: at most a folder
    // to open, or a file to open in its folder.
    bool start(const QStringList &arguments);

    // The shutdown; runs once when the main window closes.
    void shutdown();

    // Shows the language chooser, stores the choice and recomputes the help paths.
    void ChooseLanguage();
    // ChooseLanguage, then the main window's captions and tooltips in the new language (F12).
    void switchLanguage();
    // Opens the help page of the current language; a clear message when it is missing.
    void ShowHelp();
    void showAbout();

    KeyboardFilter *keyboard() const { return m_keyboard; }
    HelpWindow *helpWindow() const { return m_help; }

    // Entries of the type box and the profile box, in their order.
    static QStringList typeEntries(const AppState &state);
    static QStringList profileEntries();

    // Where PRMSG, the help pages and the icons are: beside the program in a build tree,
    // ../share/tonvera from it when installed. Ends in "/".
    static QString dataFolderOf(const QString &appFolder);

signals:
    // The shutdown has begun: a running conversion and the player stop now.
    void stopping();

private:
    void placeWindow();
    void setHelpPaths();
    void restoreFolderAndOrder(const QString &path);
    void restoreOptions();

    MainWindow &m_window;
    AppState &m_state;
    Settings &m_settings;
    const AppServices &m_services;
    QString m_appFolder;
    QString m_dataFolder;
    KeyboardFilter *m_keyboard = nullptr;
    QPointer<HelpWindow> m_help;
    QtTranslation m_qtTranslation;
    bool m_started = false;
    bool m_shutDown = false;
};
