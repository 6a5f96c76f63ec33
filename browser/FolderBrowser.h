#pragma once
// The file browser of the main window: drive box, folder tree, path box with its history, type
// box and the input list (fill, order, marking, the current file), plus drops from file
// managers. The window hands in its controls; the information panel, the player and the output
// folder are reached through hooks the window wires.

#include "app/BrowserHooks.h"
#include "browser/PathHistory.h"
#include "browser/TypeFilter.h"
#include "browser/Volumes.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

struct AppState;
class MessageBoxService;
class QAbstractButton;
class QAction;
class QComboBox;
class InputList;
class QFileSystemModel;
class FolderTreeView;
class QLabel;
class QListWidget;
class QMenu;
class QTreeView;
class QWidget;

// The controls the browser drives. Any pointer may be null when a form lacks the control.
struct BrowserWidgets
{
    QWidget *window = nullptr; // takes drops for the whole window
    QComboBox *Drive1 = nullptr;
    QTreeView *Dir1 = nullptr;
    QComboBox *CboURL = nullptr;
    QComboBox *CboType = nullptr;
    QListWidget *ListInput = nullptr;
    QListWidget *ListOutput = nullptr;
    QAbstractButton *chkAll = nullptr, *chkWMA = nullptr, *chkWAV = nullptr, *chkCutNam = nullptr;
    QAbstractButton *cmdClear = nullptr, *cmdRefr = nullptr, *cmdUp = nullptr;
    QWidget *cmdTrucco = nullptr, *cmdHelp = nullptr;
    QWidget *cmdTag = nullptr, *cmdGrab = nullptr, *cmdGrabCut = nullptr, *cmdPlay = nullptr,
            *cmdPause = nullptr, *cmdStop = nullptr, *cmdPlayCut = nullptr;
    QWidget *cmdSta = nullptr, *cmdFin = nullptr, *cmdStaRes = nullptr, *cmdFinRes = nullptr,
            *VScrSta = nullptr, *VScrFin = nullptr;
    QWidget *LabTag = nullptr, *ImgMsg = nullptr, *ShaPallino = nullptr, *FraConv = nullptr,
            *Option1 = nullptr, *Option2 = nullptr;
    QLabel *Lab2 = nullptr, *LabStatus = nullptr;
    QAbstractButton *OptSameDir = nullptr;
    // Popup menus and their entries; a null SFPOPUP is built from the actions.
    QMenu *SFPOPUP = nullptr, *DIRPOPUP = nullptr;
    QAction *mnuPlay = nullptr, *mnuStop = nullptr, *mnuGrab = nullptr, *mnuTag = nullptr,
            *mnuOrder = nullptr, *mnuSave = nullptr, *mnuMove = nullptr, *mnuExpl = nullptr,
            *SFRename = nullptr, *SFDelete = nullptr, *mnuExplOut = nullptr, *SFRenameOut = nullptr,
            *SFDeleteOut = nullptr;
    QAction *mnuOrdName = nullptr, *mnuOrdExt = nullptr, *mnuOrdDate = nullptr,
            *mnuOrdSize = nullptr;
};

// Calls into the other parts of the window. Unset hooks do nothing.
struct FolderBrowserHooks
{
    std::function<QString(int number, const QString &english)> LocalText;
    std::function<void(const QString &path, const QString &type)> ShowFileInfo;
    std::function<void()> Clear_Info;
    std::function<void(const QString &folder)> InputFolderChanged; // output follows input
    std::function<void()> ResetPlayer;
    std::function<bool()> CutSectionSet; // a cut section is set (cut controls follow it)
    std::function<QList<Volume>()> MountedVolumes; // Volumes::current when unset
};

class FolderBrowser
    : public QObject
    , public BrowserHooks
{
    Q_OBJECT
public:
    FolderBrowser(const BrowserWidgets &widgets, AppState &state, HistoryStore &history,
        MessageBoxService &messages, FolderBrowserHooks hooks = {}, QObject *parent = nullptr);
    ~FolderBrowser() override;

    // Hooks that later parts of the window set after construction.
    FolderBrowserHooks &hooks() { return m_hooks; }

    // Start-up: load the history, show CurrentFolder in the path box, the drive box and the
    // tree (with the handlers off), then apply the type box entry (which fills the list).
    void Carica_URL() override;
    void Inserisci_URL(const QString &folder) override;
    void ShowStartFolder();
    void ApplyTypeIndex(int index);
    void UpdateOrderChecks();

    // The start-up's and the keyboard's calls (see BrowserHooks).
    void setPathBoxText(const QString &folder) override;
    void setDrive(const QString &folder) override;
    void setFolder(const QString &folder) override;
    bool isCdRom(const QString &folder) override;
    void acceptPathBox() override { CboURL_Click(); }

    // Enter in the main window: accept the typed folder and keep it in the history.
    void EnterPressed();

    // Handlers (public so the window's keyboard table and tests can press them).
    void Drive1_Change();
    void Dir1_Change();
    void CboURL_Change();
    void CboURL_Click();
    void CboType_Click();
    void cmdRefr_Click();
    void cmdUp_Click();
    void cmdClear_Click();
    void chkAll_Click();
    void ListInput_Click();
    void SortList();
    void SetSortOrder(const QString &order);
    void DropFiles(const QString &path);

    QString Dir1Folder() const { return m_dirFolder; }
    bool SetDir1(const QString &folder);
    QString PendingFolder() const { return m_pendingFolder; }
    QString AppDrive() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString text(int number, const QString &english) const;
    QList<Volume> volumes() const;
    void fillDriveBox();
    void setDriveBox(const QString &path);
    bool checkDrive(const QString &folder);
    void driveFallback(const QString &drive);
    void acceptFailed();
    QStringList pathBoxEntries() const;
    void setPathBoxQuietly(const QString &text);
    void showFolderMenu(const QPoint &pos);
    void watchDrops(QWidget *widget);
    void connectSignals();

    BrowserWidgets w;
    AppState &s;
    HistoryStore &m_history;
    MessageBoxService &m_messages;
    FolderBrowserHooks m_hooks;
    QFileSystemModel *m_model = nullptr;
    std::unique_ptr<InputList> m_list;

    // The window-level variables of the browser.
    QString m_dirFolder; // the folder the tree shows
    FolderTreeView *m_treeView = nullptr; // keeps the tree's folder in sight
    QString m_pendingFolder;
    int m_pathBoxLength = 0;
    bool m_pathBoxGuard = false;
    bool m_keepOutputList = false;
};
