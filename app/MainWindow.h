#pragma once
// The main window frmMain: owns the form and its widgets, builds the popup menus from the form's
// actions and creates the subsystem controllers that drive them. Behaviour lives in those
// controllers and in the start-up/shutdown code, not here.

#include <QMainWindow>
#include <memory>

namespace Ui {
class frmMain;
}
class QMenu;
struct AppState;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(AppState &state, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Every control of the window under its design name, for the controllers.
    Ui::frmMain &ui() { return *m_ui; }
    AppState &state() { return m_state; }

    // Popup menus built from the form's actions: SFPOPUP (input list, and the output list with
    // other entries visible), the folder tree's DIRPOPUP, and the sort submenu behind mnuOrder.
    QMenu *sfPopup() const { return m_sfPopup; }
    QMenu *dirPopup() const { return m_dirPopup; }
    QMenu *orderMenu() const { return m_orderMenu; }

private:
    void buildPopupMenus();
    void applyLook();
    void createControllers();

    AppState &m_state;
    std::unique_ptr<Ui::frmMain> m_ui;
    QMenu *m_sfPopup = nullptr;
    QMenu *m_dirPopup = nullptr;
    QMenu *m_orderMenu = nullptr;
};
