#pragma once
// The main window frmMain: owns the form and its widgets, builds the popup menus from the form's
// actions and creates the subsystem controllers that drive them. Behaviour lives in those
// controllers and in the start-up/shutdown code, not here.

#include "Services.h"

#include <QMainWindow>
#include <memory>

namespace Ui {
class frmMain;
}
class QMenu;
class BrowserHooks;
class Settings;
struct AppState;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    MainWindow(AppState &state, Settings &settings, const AppServices &services,
        QWidget *parent = nullptr);
    ~MainWindow() override;

    // Every control of the window under its design name, for the controllers.
    Ui::frmMain &ui() { return *m_ui; }
    AppState &state() { return m_state; }
    Settings &settings() { return m_settings; }
    const AppServices &services() const { return m_services; }

    // Popup menus built from the form's actions: SFPOPUP (input list, and the output list with
    // other entries visible), the folder tree's DIRPOPUP, and the sort submenu behind mnuOrder.
    QMenu *sfPopup() const { return m_sfPopup; }
    QMenu *dirPopup() const { return m_dirPopup; }
    QMenu *orderMenu() const { return m_orderMenu; }

    // The browser's entry points for the start-up and the keyboard (null until registered).
    BrowserHooks *browserHooks() const { return m_browserHooks; }
    void setBrowserHooks(BrowserHooks *hooks) { m_browserHooks = hooks; }

signals:
    // File commands from the keyboard, for the file operations; outputList tells which list.
    void renameRequested(bool outputList);
    void deleteRequested(bool outputList);
    void moveRequested();
    void saveRequested();
    void exploreRequested(bool outputList);
    // The window is closing: the shutdown runs on this, before the window goes.
    void closing();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildPopupMenus();
    void applyLook();
    void createControllers();

    AppState &m_state;
    Settings &m_settings;
    AppServices m_services;
    std::unique_ptr<Ui::frmMain> m_ui;
    QMenu *m_sfPopup = nullptr;
    QMenu *m_dirPopup = nullptr;
    QMenu *m_orderMenu = nullptr;
    BrowserHooks *m_browserHooks = nullptr;
    bool m_closed = false;
};
