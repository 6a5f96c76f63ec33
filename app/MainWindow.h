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
class InfoPanel;
class MediaProbe;
class Mp3SectionDecoder;
class OutputList;
namespace taglet {
class Taglet;
}
class FolderBrowser;
class HistoryStore;
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

    // The tag reader TagletPro1, the invisible probe MediaPlayer2 and the MP3 decoder Mp3Play1,
    // shared by the controllers that read, measure or decode files.
    taglet::Taglet &TagletPro1() { return *m_tagletPro1; }
    MediaProbe &MediaPlayer2() { return *m_mediaPlayer2; }
    Mp3SectionDecoder &Mp3Play1() { return *m_mp3Play1; }

    // The information panel (ShowCurrentFile, ShowFileInfo, Clear_Info) and the output folder
    // and list (FollowInputFolder, AddOutputFile), for the browser and the conversion. The
    // output list needs the folder picker service; without one (tests) it is null.
    InfoPanel &infoPanel() { return *m_infoPanel; }
    OutputList *outputList() { return m_outputList.get(); }

    // The browser's entry points for the start-up and the keyboard (null until registered).
    BrowserHooks *browserHooks() const { return m_browserHooks; }
    // The browser's controller (drive box, folder tree, path box, type box, input list).
    FolderBrowser *folderBrowser() const { return m_folderBrowser; }
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
    void createPanelControllers();
    void createFolderBrowser();

    AppState &m_state;
    Settings &m_settings;
    AppServices m_services;
    std::unique_ptr<Ui::frmMain> m_ui;
    QMenu *m_sfPopup = nullptr;
    QMenu *m_dirPopup = nullptr;
    QMenu *m_orderMenu = nullptr;
    BrowserHooks *m_browserHooks = nullptr;
    std::unique_ptr<HistoryStore> m_history;
    FolderBrowser *m_folderBrowser = nullptr;
    bool m_closed = false;
    // Declared so that the controllers go before the objects they use.
    std::unique_ptr<taglet::Taglet> m_tagletPro1;
    std::unique_ptr<MediaProbe> m_mediaPlayer2;
    std::unique_ptr<Mp3SectionDecoder> m_mp3Play1;
    std::unique_ptr<InfoPanel> m_infoPanel;
    std::unique_ptr<OutputList> m_outputList;
};
