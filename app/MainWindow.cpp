#include "MainWindow.h"

#include "browser/FolderBrowser.h"
#include "browser/ListLine.h"
#include "browser/SettingsHistoryStore.h"
#include "conversion/ConversionOptions.h"
#include "conversion/ConversionQueue.h"
#include "conversion/CutSectionPanel.h"
#include "conversion/frmOptions.h"
#include "core/AppState.h"
#include "core/MainCommands.h"
#include "core/StatusLine.h"
#include "playback/MediaControls.h"
#include "playback/PreviewPlayer.h"
#include "tags/FileOperations.h"
#include "tags/frmCutName.h"
#include "tags/frmTagInfo.h"
#include "ui_frmMain.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QIcon>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>

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
    m_fileOperations.reset();
    m_conversion.reset();
    m_folderBrowser.reset();
}

void MainWindow::applyLook()
{
    // The list lines have fixed columns (name, size, then the hidden path), so the lists need a
    // fixed-pitch font for the sizes to line up.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_ui->ListInput->setFont(fixed);
    m_ui->ListOutput->setFont(fixed);
    // However small the window, a list keeps room for its name and size columns.
    const QFontMetrics columns(fixed);
    const struct
    {
        QListWidget *list;
        int sizeEnd;
    } lists[]
        = {{m_ui->ListInput, ListLine::InputSizeEnd}, {m_ui->ListOutput, ListLine::OutputSizeEnd}};
    for (const auto &entry : lists)
        entry.list->setMinimumWidth(columns.horizontalAdvance(QString(entry.sizeEnd + 1, u'0'))
            + entry.list->verticalScrollBar()->sizeHint().width() + 2 * entry.list->frameWidth());

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
    // A WMA is what Tonvera makes: the desktop's WMA or audio icon, else the program's own.
    const QIcon own = QApplication::windowIcon().pixmap(32, 32).isNull()
        ? style()->standardIcon(QStyle::SP_MediaVolume)
        : QApplication::windowIcon();
    const QIcon wma = QIcon::fromTheme(
        QStringLiteral("audio-x-ms-wma"), QIcon::fromTheme(QStringLiteral("audio-x-generic"), own));
    m_ui->ImgWMA->setPixmap(wma.pixmap(32, 32));
    m_ui->ImgMsg->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(16, 16));
    setWindowIcon(own);

    // The size bars come and go with the size estimate; their column keeps its width so that
    // the type words (LabINP, LabOUT) and the size texts stay where they are.
    for (QWidget *bar :
        {static_cast<QWidget *>(m_ui->ShapINP), static_cast<QWidget *>(m_ui->ShapOUT)}) {
        QSizePolicy policy = bar->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        bar->setSizePolicy(policy);
    }

    // On Linux a screen reader names a combo box by its current entry and the label that
    // describes it.
    m_ui->LabType->setBuddy(m_ui->CboType);

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

    QMenu *sfPopup = m_menus.SFPOPUP = new QMenu(this);
    sfPopup->setObjectName(QStringLiteral("SFPOPUP"));
    sfPopup->addAction(m_ui->mnuPlay);
    sfPopup->addAction(m_ui->mnuStop);
    separator(sfPopup, "mnusepg");
    sfPopup->addAction(m_ui->mnuGrab);
    sfPopup->addAction(m_ui->mnuTag);
    separator(sfPopup, "mnusepp");
    sfPopup->addAction(m_ui->mnuOrder);
    sfPopup->addAction(m_ui->mnuExpl);
    sfPopup->addAction(m_ui->mnuExplOut);
    separator(sfPopup, "mnusep");
    sfPopup->addAction(m_ui->mnuSave);
    sfPopup->addAction(m_ui->mnuMove);
    sfPopup->addAction(m_ui->SFRename);
    sfPopup->addAction(m_ui->SFDelete);
    sfPopup->addAction(m_ui->SFRenameOut);
    sfPopup->addAction(m_ui->SFDeleteOut);
    QFont bold = m_ui->mnuPlay->font();
    bold.setBold(true);
    m_ui->mnuPlay->setFont(bold);

    QMenu *dirPopup = m_menus.DIRPOPUP = new QMenu(this);
    dirPopup->setObjectName(QStringLiteral("DIRPOPUP"));
    dirPopup->addAction(m_ui->mnuDirOpen);
    dirPopup->addAction(m_ui->mnuDirExpl);
    QFont boldDir = m_ui->mnuDirOpen->font();
    boldDir.setBold(true);
    m_ui->mnuDirOpen->setFont(boldDir);
}

void MainWindow::createControllers()
{
    // Each subsystem's controller is created here, given the widgets it drives (through the
    // form bindings), the shared state, the settings and the services it needs. Keep this the
    // only place that creates them.
    Ui::frmMain &ui = *m_ui;
    m_commands = std::make_unique<MainCommands>();
    FormBindings::bindCommands(ui, *m_commands);
    m_status = std::make_unique<StatusLine>(*ui.LabStatus, *ui.ImgMsg, *ui.ShaPallino);
    m_media = std::make_unique<MediaControls>();
    m_history = std::make_unique<SettingsHistoryStore>(m_settings);

    m_infoPanel = std::make_unique<InfoPanel>(
        FormBindings::infoPanel(ui, this), m_state, *m_media, *m_status);
    m_outputList = std::make_unique<OutputList>(FormBindings::outputList(ui, m_menus), m_state,
        *m_infoPanel, *m_media, *m_status, *m_commands, *m_services.folders);
    m_folderBrowser = std::make_unique<FolderBrowser>(FormBindings::browser(ui, this, m_menus),
        BrowserParts {m_state, *m_commands, *m_status, *m_infoPanel, *m_outputList, *m_media,
            *m_history, m_services});
    m_options = std::make_unique<ConversionOptions>(
        FormBindings::conversionOptions(ui), m_state, *m_commands);
    connect(m_folderBrowser.get(), &FolderBrowser::currentFileShown, m_options.get(),
        &ConversionOptions::fileSelected);
    m_player = std::make_unique<PreviewPlayer>(
        FormBindings::player(ui, this), m_state, *m_commands, *m_media, *m_services.messages);
    m_cutSection = std::make_unique<CutSectionPanel>(
        FormBindings::cutSection(ui), m_state, *m_commands, m_media->MediaPlayer1());
    // A new file's length moves the bars and markers of the same times.
    connect(m_folderBrowser.get(), &FolderBrowser::currentFileShown, m_cutSection.get(),
        &CutSectionPanel::showSection);
    m_optionsDialog = std::make_unique<QtOptionsDialog>(m_state, this);
    m_tagEditor
        = std::make_unique<QtTagEditor>(TagEditorParts {m_state, m_settings, *m_services.messages,
                                            *m_media, ui.ChkTag, ui.OptStdName, ui.OptParName},
            this);
    // Cut files are named by the last rule chosen, even while its window stays away.
    frmCutName::LoadRule(m_state, m_settings);
    m_cutNameRules = std::make_unique<QtCutNameRules>(m_state, m_settings, ui.chkCutNam, this);
    m_conversion = std::make_unique<ConversionQueue>(FormBindings::conversion(ui),
        ConversionParts {m_state, *m_commands, *m_status, *m_media, m_folderBrowser->runAccess(),
            *m_options, *m_optionsDialog, *m_services.messages, *m_tagEditor, *m_cutNameRules});

    m_fileOperations = std::make_unique<FileOperations>(FormBindings::fileOperations(ui),
        FileOperationParts {m_state, *m_media, *m_services.messages, *m_services.folders,
            *m_services.renameBox, *m_services.fileDialog});
    FileOperations *files = m_fileOperations.get();
    FolderBrowser *browser = m_folderBrowser.get();
    connect(
        files, &FileOperations::inputListChanged, browser, [browser] { browser->cmdRefr_Click(); });
    connect(files, &FileOperations::outputEntryChanged, m_outputList.get(),
        &OutputList::ListOutput_Click);
    connect(files, &FileOperations::folderOpenRequested, browser, &FolderBrowser::SetDir1);
    connect(m_conversion.get(), &ConversionQueue::inputFilesRenamed, files,
        &FileOperations::ShowInputFile);
    connect(this, &MainWindow::renameRequested, files, &FileOperations::renameRequested);
    connect(this, &MainWindow::deleteRequested, files, &FileOperations::deleteRequested);
    connect(this, &MainWindow::moveRequested, files, &FileOperations::mnuMove_Click);
    connect(this, &MainWindow::saveRequested, files, &FileOperations::mnuSave_Click);
    connect(this, &MainWindow::exploreRequested, files, &FileOperations::exploreRequested);
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
