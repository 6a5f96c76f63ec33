#include "MainWindow.h"

#include "AppState.h"
#include "app/texts/LocalText.h"
#include "browser/FolderBrowser.h"
#include "browser/InfoPanel.h"
#include "browser/OutputList.h"
#include "browser/SettingsHistoryStore.h"
#include "playback/MediaProbe.h"
#include "playback/Mp3SectionDecoder.h"
#include "ui_frmMain.h"

#include <taglet/Taglet.h>

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QMenu>

MainWindow::MainWindow(
    AppState &state, Settings &settings, const AppServices &services, QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_settings(settings)
    , m_services(services)
    , m_ui(std::make_unique<Ui::frmMain>())
{
    m_ui->setupUi(this);
    applyLook();
    buildPopupMenus();
    createControllers();
}

MainWindow::~MainWindow()
{
    // The browser's handlers call into the panel and the output list; it goes first, before
    // the widgets it watches can send it anything more.
    delete m_folderBrowser;
    m_folderBrowser = nullptr;
    m_browserHooks = nullptr;
}

void MainWindow::applyLook()
{
    // The list lines have fixed columns (name, size, then the hidden path), so the lists need a
    // fixed-pitch font for the sizes to line up.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_ui->ListInput->setFont(fixed);
    m_ui->ListOutput->setFont(fixed);

    // Small icon buttons get the desktop theme's icons; their texts are the tooltips.
    const struct
    {
        QAbstractButton *button;
        QStyle::StandardPixmap pixmap;
    } icons[] = {
        {m_ui->cmdUp, QStyle::SP_FileDialogToParent},
        {m_ui->cmdRefr, QStyle::SP_BrowserReload},
        {m_ui->cmdDir, QStyle::SP_DirOpenIcon},
        {m_ui->cmdClear, QStyle::SP_LineEditClearButton},
        {m_ui->cmdPlay, QStyle::SP_MediaPlay},
        {m_ui->cmdPause, QStyle::SP_MediaPause},
        {m_ui->cmdStop, QStyle::SP_MediaStop},
        {m_ui->cmdPlayCut, QStyle::SP_MediaSeekForward},
        {m_ui->cmdVol, QStyle::SP_MediaVolume},
        {m_ui->cmdStaRes, QStyle::SP_DialogResetButton},
        {m_ui->cmdFinRes, QStyle::SP_DialogResetButton},
        {m_ui->cmdTag, QStyle::SP_FileDialogDetailedView},
        {m_ui->cmdHelp, QStyle::SP_MessageBoxQuestion},
        {m_ui->cmdAbout, QStyle::SP_MessageBoxInformation},
    };
    for (const auto &entry : icons)
        entry.button->setIcon(style()->standardIcon(entry.pixmap));
    m_ui->ImgMP3->setPixmap(style()->standardIcon(QStyle::SP_MediaVolume).pixmap(32, 32));
    m_ui->ImgWav->setPixmap(style()->standardIcon(QStyle::SP_DriveCDIcon).pixmap(32, 32));
    m_ui->ImgWMA->setPixmap(style()->standardIcon(QStyle::SP_FileIcon).pixmap(32, 32));
    m_ui->ImgMsg->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(16, 16));
    setWindowIcon(style()->standardIcon(QStyle::SP_MediaVolume));

    // The size bars come and go with the size estimate; their column keeps its width so that
    // the type words (LabINP, LabOUT) and the size texts stay where they are.
    for (QWidget *bar :
        {static_cast<QWidget *>(m_ui->ShapINP), static_cast<QWidget *>(m_ui->ShapOUT)}) {
        QSizePolicy policy = bar->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        bar->setSizePolicy(policy);
    }

    // cmdTrucco takes the focus away from a control without showing anything.
    m_ui->cmdTrucco->setFocusPolicy(Qt::StrongFocus);
}

void MainWindow::buildPopupMenus()
{
    auto separator = [](QMenu *menu, const char *name) {
        QAction *sep = menu->addSeparator();
        sep->setObjectName(QString::fromLatin1(name));
    };

    m_orderMenu = new QMenu(this);
    m_orderMenu->setObjectName(QStringLiteral("mnuOrderMenu"));
    auto *orderGroup = new QActionGroup(this);
    for (QAction *a : {m_ui->mnuOrdName, m_ui->mnuOrdExt, m_ui->mnuOrdDate, m_ui->mnuOrdSize}) {
        orderGroup->addAction(a);
        m_orderMenu->addAction(a);
    }
    m_ui->mnuOrder->setMenu(m_orderMenu);

    m_sfPopup = new QMenu(this);
    m_sfPopup->setObjectName(QStringLiteral("SFPOPUP"));
    m_sfPopup->addAction(m_ui->mnuPlay);
    m_sfPopup->addAction(m_ui->mnuStop);
    separator(m_sfPopup, "mnusepg");
    m_sfPopup->addAction(m_ui->mnuGrab);
    m_sfPopup->addAction(m_ui->mnuTag);
    separator(m_sfPopup, "mnusepp");
    m_sfPopup->addAction(m_ui->mnuOrder);
    m_sfPopup->addAction(m_ui->mnuExpl);
    m_sfPopup->addAction(m_ui->mnuExplOut);
    separator(m_sfPopup, "mnusep");
    m_sfPopup->addAction(m_ui->mnuSave);
    m_sfPopup->addAction(m_ui->mnuMove);
    m_sfPopup->addAction(m_ui->SFRename);
    m_sfPopup->addAction(m_ui->SFDelete);
    m_sfPopup->addAction(m_ui->SFRenameOut);
    m_sfPopup->addAction(m_ui->SFDeleteOut);
    QFont bold = m_ui->mnuPlay->font();
    bold.setBold(true);
    m_ui->mnuPlay->setFont(bold);

    m_dirPopup = new QMenu(this);
    m_dirPopup->setObjectName(QStringLiteral("DIRPOPUP"));
    m_dirPopup->addAction(m_ui->mnuDirOpen);
    m_dirPopup->addAction(m_ui->mnuDirExpl);
    QFont boldDir = m_ui->mnuDirOpen->font();
    boldDir.setBold(true);
    m_ui->mnuDirOpen->setFont(boldDir);

    // Entries without an action in this window stay visible but disabled.
    for (QAction *a : {m_ui->mnuPlay, m_ui->mnuStop, m_ui->mnuGrab, m_ui->mnuTag, m_ui->mnuSave,
             m_ui->mnuMove, m_ui->mnuExpl, m_ui->SFRename, m_ui->SFDelete, m_ui->mnuExplOut,
             m_ui->SFRenameOut, m_ui->SFDeleteOut, m_ui->mnuDirOpen, m_ui->mnuDirExpl})
        a->setEnabled(false);
}

void MainWindow::createControllers()
{
    // ---- Controllers -------------------------------------------------------------------------
    // Each subsystem's controller is created here, given the widgets it drives (through ui()),
    // the shared state (m_state), the settings (m_settings) and the services it needs
    // (m_services). Keep this the only place that creates them. A controller that the start-up
    // or the keyboard must reach registers itself: setBrowserHooks(...).
    //   browser:   FolderBrowser, InfoPanel, OutputList
    // -----------------------------------------------------------------------------------------
    createPanelControllers();
    createFolderBrowser();
}

// The information panel and the output folder and list, with the tag reader, the probe and the
// decoder they share with later controllers. Created before the folder browser, which calls
// them when a file becomes current or the folder changes.
void MainWindow::createPanelControllers()
{
    Ui::frmMain &ui = *m_ui;
    m_tagletPro1 = std::make_unique<taglet::Taglet>();
    m_mediaPlayer2 = std::make_unique<MediaProbe>();
    m_mp3Play1 = std::make_unique<Mp3SectionDecoder>();

    InfoPanelWidgets panel;
    panel.window = this;
    panel.LabTit = ui.LabTit;
    panel.ImgTyp = ui.ImgTyp;
    panel.ImgMP3 = ui.ImgMP3;
    panel.ImgWav = ui.ImgWav;
    panel.ImgWMA = ui.ImgWMA;
    panel.LabMsg = ui.LabMsg;
    panel.LabTime = ui.LabTime;
    panel.LabInfo = ui.LabInfo;
    panel.LabComment = ui.LabComment;
    panel.LabINP = ui.LabINP;
    panel.LabOUT = ui.LabOUT;
    panel.LabStatus = ui.LabStatus;
    panel.LabBarINP = ui.LabBarINP;
    panel.LabBarOUT = ui.LabBarOUT;
    panel.ImgMsg = ui.ImgMsg;
    panel.ShaPallino = ui.ShaPallino;
    panel.chkWMA = ui.chkWMA;
    panel.chkWAV = ui.chkWAV;
    m_infoPanel
        = std::make_unique<InfoPanel>(panel, m_state, *m_tagletPro1, *m_mediaPlayer2, *m_mp3Play1);

    if (!m_services.folders)
        return;
    OutputListWidgets output;
    output.OptSameDir = ui.OptSameDir;
    output.OptUsrDir = ui.OptUsrDir;
    output.cmdBrowse = ui.cmdBrowse;
    output.LabOutDir = ui.LabOutDir;
    output.ListOutput = ui.ListOutput;
    output.LabStatus = ui.LabStatus;
    output.LabBarINP = ui.LabBarINP;
    output.LabBarOUT = ui.LabBarOUT;
    output.ImgMsg = ui.ImgMsg;
    output.ShaPallino = ui.ShaPallino;
    output.ShapINP = ui.ShapINP;
    output.ShapOUT = ui.ShapOUT;
    output.SFPOPUP = m_sfPopup;
    // The folder tree always shows the current input folder when "Current Folder" is chosen;
    // a folder change hands its new folder to FollowInputFolder itself.
    m_outputList = std::make_unique<OutputList>(output, m_state, *m_infoPanel, *m_mediaPlayer2,
        *m_services.folders, [this] { return m_state.CurrentFolder; });
}

void MainWindow::createFolderBrowser()
{
    if (!m_services.messages)
        return;
    Ui::frmMain &ui = *m_ui;
    BrowserWidgets w;
    w.window = this;
    w.Drive1 = ui.Drive1;
    w.Dir1 = ui.Dir1;
    w.CboURL = ui.CboURL;
    w.CboType = ui.CboType;
    w.ListInput = ui.ListInput;
    w.ListOutput = ui.ListOutput;
    w.chkAll = ui.chkAll;
    w.chkWMA = ui.chkWMA;
    w.chkWAV = ui.chkWAV;
    w.cmdClear = ui.cmdClear;
    w.cmdRefr = ui.cmdRefr;
    w.cmdUp = ui.cmdUp;
    w.cmdTrucco = ui.cmdTrucco;
    w.cmdHelp = ui.cmdHelp;
    w.Lab2 = ui.Lab2;
    w.LabStatus = ui.LabStatus;
    w.ImgMsg = ui.ImgMsg;
    w.ShaPallino = ui.ShaPallino;
    w.OptSameDir = ui.OptSameDir;
    w.SFPOPUP = m_sfPopup;
    w.DIRPOPUP = m_dirPopup;
    w.mnuPlay = ui.mnuPlay;
    w.mnuStop = ui.mnuStop;
    w.mnuGrab = ui.mnuGrab;
    w.mnuTag = ui.mnuTag;
    w.mnuOrder = ui.mnuOrder;
    w.mnuSave = ui.mnuSave;
    w.mnuMove = ui.mnuMove;
    w.mnuExpl = ui.mnuExpl;
    w.SFRename = ui.SFRename;
    w.SFDelete = ui.SFDelete;
    w.mnuExplOut = ui.mnuExplOut;
    w.SFRenameOut = ui.SFRenameOut;
    w.SFDeleteOut = ui.SFDeleteOut;
    w.mnuOrdName = ui.mnuOrdName;
    w.mnuOrdExt = ui.mnuOrdExt;
    w.mnuOrdDate = ui.mnuOrdDate;
    w.mnuOrdSize = ui.mnuOrdSize;
    // The conversion, player, cut-section and tag controls (cmdGrab, cmdTag, cmdPlay, cmdSta,
    // Option1, FraConv ...) join here when their behaviour exists; until then the browser
    // leaves them as the form made them.

    FolderBrowserHooks hooks;
    hooks.LocalText = [this](int number, const QString &english) {
        return LocalText(m_state, number, english);
    };
    hooks.ShowFileInfo = [this](const QString &path, const QString &type) {
        m_infoPanel->ShowCurrentFile(path, type);
    };
    hooks.Clear_Info = [this] {
        m_infoPanel->Clear_Info();
    };
    hooks.InputFolderChanged = [this](const QString &folder) {
        if (m_outputList)
            m_outputList->FollowInputFolder(folder);
    };
    m_history = std::make_unique<SettingsHistoryStore>(m_settings);
    m_folderBrowser
        = new FolderBrowser(w, m_state, *m_history, *m_services.messages, std::move(hooks), this);
    setBrowserHooks(m_folderBrowser);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The shutdown runs once, however the window is closed.
    if (!m_closed) {
        m_closed = true;
        emit closing();
    }
    QMainWindow::closeEvent(event);
}
