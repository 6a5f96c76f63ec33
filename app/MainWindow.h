#pragma once
// The main window frmMain: owns the form and its widgets, builds the popup menus from the form's
// actions, and creates the owners of the shared pieces of the window (commands, status line,
// media objects) and the subsystem controllers that drive the rest. Behaviour lives in those
// controllers and in the start-up/shutdown code, not here.

#include "FormBindings.h"
#include "core/Services.h"

#include <QMainWindow>
#include <memory>

namespace Ui {
class frmMain;
}
class ConversionOptions;
class ConversionQueue;
class CutNameRulesService;
class CutSectionPanel;
class FileOperations;
class OptionsDialogService;
class FolderBrowser;
class HistoryStore;
class InfoPanel;
class MainCommands;
class MediaControls;
class OutputList;
class PreviewPlayer;
class QMenu;
class Settings;
class StatusLine;
class TagEditorService;
struct AppState;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Every service must be given.
    MainWindow(AppState &state, Settings &settings, const AppServices &services,
        QWidget *parent = nullptr);
    ~MainWindow() override;

    // Every control of the window under its design name.
    Ui::frmMain &ui() { return *m_ui; }
    AppState &state() { return m_state; }
    Settings &settings() { return m_settings; }
    const AppServices &services() const { return m_services; }

    // Popup menus built from the form's actions: SFPOPUP (input list, and the output list with
    // other entries visible), the folder tree's DIRPOPUP, and the sort submenu behind mnuOrder.
    QMenu *sfPopup() const { return m_menus.SFPOPUP; }
    QMenu *dirPopup() const { return m_menus.DIRPOPUP; }
    QMenu *orderMenu() const { return m_orderMenu; }

    // The owners of the shared pieces of the window.
    MainCommands &commands() { return *m_commands; }
    StatusLine &statusLine() { return *m_status; }
    MediaControls &media() { return *m_media; }

    // The controllers.
    InfoPanel &infoPanel() { return *m_infoPanel; }
    OutputList &outputList() { return *m_outputList; }
    FolderBrowser &folderBrowser() { return *m_folderBrowser; }
    ConversionQueue &conversion() { return *m_conversion; }
    ConversionOptions &conversionOptions() { return *m_options; }
    CutSectionPanel &cutSection() { return *m_cutSection; }
    PreviewPlayer &player() { return *m_player; }
    FileOperations &fileOperations() { return *m_fileOperations; }

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
    PopupMenus m_menus;
    QMenu *m_orderMenu = nullptr;
    bool m_closed = false;
    // Declared so that the controllers go before the objects they use.
    std::unique_ptr<HistoryStore> m_history;
    std::unique_ptr<MainCommands> m_commands;
    std::unique_ptr<StatusLine> m_status;
    std::unique_ptr<MediaControls> m_media;
    std::unique_ptr<InfoPanel> m_infoPanel;
    std::unique_ptr<OutputList> m_outputList;
    std::unique_ptr<FolderBrowser> m_folderBrowser;
    std::unique_ptr<ConversionOptions> m_options;
    std::unique_ptr<OptionsDialogService> m_optionsDialog;
    std::unique_ptr<CutSectionPanel> m_cutSection;
    std::unique_ptr<PreviewPlayer> m_player;
    std::unique_ptr<TagEditorService> m_tagEditor;
    std::unique_ptr<CutNameRulesService> m_cutNameRules;
    std::unique_ptr<ConversionQueue> m_conversion;
    std::unique_ptr<FileOperations> m_fileOperations;
};
