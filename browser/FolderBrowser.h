#pragma once
// The file browser of the main window: drive box, folder tree, path box with its history, type
// box and the input list (fill, order, marking, the current file), plus drops from file
// managers. The window hands in its controls; the panel and the output list of the browser are
// called directly, the rest of the window through the shared command, status and media owners.

#include "browser/TypeFilter.h"
#include "core/Volumes.h"

#include <QObject>
#include <QString>
#include <memory>

struct AppState;
struct AppServices;
class DropTarget;
class FolderTreeView;
class BrowserAccess;
class HistoryStore;
class RunListAccess;
class InfoPanel;
class InputList;
class MainCommands;
class MediaControls;
class OutputList;
class PathBox;
class QAbstractButton;
class QAction;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QListWidget;
class QMenu;
class QTreeView;
class QWidget;
class StatusLine;

// The controls the browser drives; every one is required.
struct BrowserWidgets
{
    QWidget *window = nullptr; // takes drops for the whole window
    QComboBox *Drive1 = nullptr;
    QTreeView *Dir1 = nullptr;
    QComboBox *CboURL = nullptr;
    QComboBox *CboType = nullptr;
    QListWidget *ListInput = nullptr;
    QListWidget *ListOutput = nullptr;
    QAbstractButton *chkAll = nullptr, *chkWMA = nullptr, *chkWAV = nullptr;
    QAbstractButton *cmdClear = nullptr, *cmdRefr = nullptr, *cmdUp = nullptr;
    QWidget *cmdHelp = nullptr; // one more drop target
    QLabel *Lab2 = nullptr;
    QAbstractButton *OptSameDir = nullptr;
    // The popup menus and the entries the input list shows or hides.
    QMenu *SFPOPUP = nullptr, *DIRPOPUP = nullptr;
    QAction *mnuPlay = nullptr, *mnuStop = nullptr, *mnuGrab = nullptr, *mnuTag = nullptr,
            *mnuOrder = nullptr, *mnuSave = nullptr, *mnuMove = nullptr, *mnuExpl = nullptr,
            *SFRename = nullptr, *SFDelete = nullptr, *mnuExplOut = nullptr, *SFRenameOut = nullptr,
            *SFDeleteOut = nullptr;
    // The orders, in the order of SortKeys::Orders.
    QAction *mnuOrdName = nullptr, *mnuOrdExt = nullptr, *mnuOrdDate = nullptr,
            *mnuOrdSize = nullptr;
};

// What the browser works with besides its own controls.
struct BrowserParts
{
    AppState &state;
    MainCommands &commands;
    StatusLine &status;
    InfoPanel &panel;
    OutputList &output;
    MediaControls &media;
    HistoryStore &history;
    const AppServices &services; // messages and volumes
};

class FolderBrowser : public QObject
{
    Q_OBJECT
public:
    FolderBrowser(
        const BrowserWidgets &widgets, const BrowserParts &parts, QObject *parent = nullptr);
    ~FolderBrowser() override;

    // The start: the history into the path box, the start folder into the path box, the drive
    // box and the tree (listed only once events are on), the order marks.
    void ShowStartFolder();
    // Applies a type box entry; the same entry again still lists the folder.
    void ApplyTypeIndex(int index);
    // Enter in the main window: accept the typed folder and keep it in the history.
    void EnterPressed();
    // True when folder lies on an optical disc.
    bool isCdRom(const QString &folder) const;

    // Handlers of the browser's controls.
    void Drive1_Change();
    void Dir1_Change();
    void CboURL_Click();
    void CboType_Click();
    void cmdRefr_Click();
    void cmdUp_Click();
    void chkAll_Click();
    void ListInput_Click();
    void SetSortOrder(const QString &order);
    void DropFiles(const QString &path);

    // What a conversion run asks of the browser.
    BrowserAccess &runAccess();

    QString Dir1Folder() const { return m_dirFolder; }
    bool SetDir1(const QString &folder);
    QString AppDrive() const;

signals:
    // A file of the input list became current and the panel shows it.
    void currentFileShown();

private:
    QList<Volume> volumes() const;
    void fillDriveBox();
    void setDriveBox(const QString &path);
    bool checkDrive(const QString &folder);
    void driveFallback(const QString &drive);
    void acceptFailed();
    void clearMarkAll();
    void listFolder();
    void showFolderMenu(const QPoint &pos);
    void connectSignals();

    BrowserWidgets w;
    AppState &s;
    BrowserParts m_parts;
    QFileSystemModel *m_model = nullptr;
    std::unique_ptr<InputList> m_list;
    std::unique_ptr<RunListAccess> m_runAccess;
    std::unique_ptr<PathBox> m_pathBox;
    DropTarget *m_drops = nullptr;

    QString m_dirFolder; // the folder the tree shows
    FolderTreeView *m_treeView = nullptr; // keeps the tree's folder in sight
    QString m_pendingFolder;
    bool m_keepOutputList = false;
    bool m_listing = false; // a folder is being listed
    bool m_folderAgain = false; // the tree moved on while it was
};
