#include "browser/FolderBrowser.h"

#include "browser/DropData.h"
#include "browser/DropTarget.h"
#include "browser/FolderTreeView.h"
#include "browser/InputList.h"
#include "browser/ListLine.h"
#include "browser/ListLineView.h"
#include "browser/OutputList.h"
#include "browser/PathBox.h"
#include "browser/RunListAccess.h"
#include "browser/SortKeys.h"
#include "browser/TypeBoxView.h"
#include "core/AppState.h"
#include "core/MainCommands.h"
#include "core/PathHelpers.h"
#include "core/Services.h"
#include "core/StatusLine.h"
#include "core/WidgetHelpers.h"
#include "core/texts/LocalText.h"
#include "playback/MediaControls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QListWidget>
#include <QMenu>
#include <QTimer>
#include <QTreeView>

namespace {

// Button codes of the message box service and the flag set of the drive questions.
constexpr int Retry = 4;
constexpr int RetryCancelQuestion = 293; // Retry/Cancel, question icon, Cancel default

} // namespace

using WidgetHelpers::pumpEvents;
using WidgetHelpers::WaitCursor;

FolderBrowser::FolderBrowser(
    const BrowserWidgets &widgets, const BrowserParts &parts, QObject *parent)
    : QObject(parent)
    , w(widgets)
    , s(parts.state)
    , m_parts(parts)
{
    m_model = new QFileSystemModel(w.Dir1);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setRootPath(QStringLiteral("/"));
    w.Dir1->setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column)
        w.Dir1->hideColumn(column);
    w.Dir1->setHeaderHidden(true);
    m_treeView = new FolderTreeView(w.Dir1, m_model);

    new TypeBoxView(w.CboType);
    w.ListInput->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Every line has the same height in the list's font; lets a 10,000-file folder show
    // without measuring each line.
    w.ListInput->setUniformItemSizes(true);
    // List lines carry the path past the visible columns: cut them off, never mark the cut,
    // and never show the path however wide the list gets.
    for (QListWidget *list : {w.ListInput, w.ListOutput}) {
        list->setTextElideMode(Qt::ElideNone);
        list->setItemDelegate(new ListLineView(list));
    }
    m_list = std::make_unique<InputList>(w, s, parts.commands, parts.status, parts.panel);
    m_runAccess = std::make_unique<RunListAccess>(
        *w.ListInput, *w.ListOutput, *w.chkAll, s, *m_list, parts.output);
    connect(m_list.get(), &InputList::currentFileShown, this, &FolderBrowser::currentFileShown);
    m_pathBox = std::make_unique<PathBox>(
        *w.CboURL, *w.cmdClear, s, parts.history, *parts.services.messages);
    fillDriveBox();
    connectSignals();

    m_drops = new DropTarget(this);
    for (QWidget *target : {w.window, static_cast<QWidget *>(w.CboType),
             static_cast<QWidget *>(w.CboURL), static_cast<QWidget *>(w.ListInput),
             static_cast<QWidget *>(w.Dir1), static_cast<QWidget *>(w.Drive1), w.cmdHelp,
             static_cast<QWidget *>(w.cmdRefr), static_cast<QWidget *>(w.cmdUp)})
        m_drops->watch(target);
    connect(m_drops, &DropTarget::dropped, this, &FolderBrowser::DropFiles);
}

FolderBrowser::~FolderBrowser() = default;

void FolderBrowser::SetSortOrder(const QString &order)
{
    m_list->SetSortOrder(order);
}

void FolderBrowser::clearMarkAll()
{
    const QSignalBlocker quiet(w.chkAll);
    w.chkAll->setChecked(false);
}

void FolderBrowser::chkAll_Click()
{
    m_list->chkAll_Click();
}

void FolderBrowser::ListInput_Click()
{
    m_list->ListInput_Click();
}

void FolderBrowser::connectSignals()
{
    connect(w.Drive1, &QComboBox::currentIndexChanged, this, [this] { Drive1_Change(); });
    connect(w.Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex &index) {
            if (!index.isValid())
                return;
            const QString folder = WithoutTrailingSeparator(m_model->filePath(index));
            if (folder == m_dirFolder)
                return;
            m_dirFolder = folder;
            Dir1_Change();
        });
    connect(m_treeView, &FolderTreeView::menuRequested, this, &FolderBrowser::showFolderMenu);
    // The menu's entry runs after the menu has hidden; then the highlight goes back to the
    // listed folder.
    connect(w.DIRPOPUP, &QMenu::aboutToHide, this,
        [this] { QTimer::singleShot(0, m_treeView, &FolderTreeView::highlightCurrent); });
    connect(w.CboURL, &QComboBox::activated, this, [this] { CboURL_Click(); });
    connect(w.CboType, &QComboBox::currentIndexChanged, this, [this] { CboType_Click(); });
    connect(w.cmdRefr, &QAbstractButton::clicked, this, [this] { cmdRefr_Click(); });
    connect(w.cmdUp, &QAbstractButton::clicked, this, [this] { cmdUp_Click(); });
    // Toggled, not clicked: a screen reader's toggle action marks the files as a click does.
    // The browser's own resets of the box go through clearMarkAll and stay quiet.
    connect(w.chkAll, &QAbstractButton::toggled, this, [this] { chkAll_Click(); });
    connect(w.ListInput, &QListWidget::itemSelectionChanged, this, [this] { ListInput_Click(); });
    w.ListInput->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(w.ListInput, &QWidget::customContextMenuRequested, this,
        [this](const QPoint &pos) { m_list->showMenu(pos); });
    const QList<QAction *> actions = m_list->orderActions();
    for (qsizetype i = 0; i < actions.size(); ++i) {
        actions[i]->setCheckable(true);
        const QString code = QLatin1String(SortKeys::Orders[i]);
        connect(actions[i], &QAction::triggered, this, [this, code] { SetSortOrder(code); });
    }
}

QList<Volume> FolderBrowser::volumes() const
{
    return m_parts.services.volumes->mountedVolumes();
}

QString FolderBrowser::AppDrive() const
{
    const QString folder
        = s.AppFolder.isEmpty() ? QCoreApplication::applicationDirPath() : s.AppFolder;
    const QList<Volume> all = volumes();
    const Volume *volume = Volumes::volumeOf(folder, all);
    return volume ? volume->root : QStringLiteral("/");
}

bool FolderBrowser::isCdRom(const QString &folder) const
{
    return Volumes::Testa_CDRom(folder, volumes());
}

// ---- Drive box -------------------------------------------------------------------------------

void FolderBrowser::fillDriveBox()
{
    const QString current = w.Drive1->currentData().toString();
    const bool events = s.BrowseEventsOn;
    s.BrowseEventsOn = false;
    w.Drive1->clear();
    for (const Volume &volume : volumes()) {
        if (!Volumes::isUserVolume(volume))
            continue;
        const QString label = volume.label.isEmpty()
            ? volume.root
            : volume.root + QStringLiteral("  [") + volume.label + QLatin1Char(']');
        w.Drive1->addItem(label, volume.root);
    }
    const int index = w.Drive1->findData(current);
    if (index >= 0)
        w.Drive1->setCurrentIndex(index);
    s.BrowseEventsOn = events;
}

void FolderBrowser::setDriveBox(const QString &path)
{
    const QList<Volume> all = volumes();
    const Volume *volume = Volumes::volumeOf(path, all);
    if (!volume)
        return;
    int index = w.Drive1->findData(volume->root);
    if (index < 0) {
        w.Drive1->addItem(volume->root, volume->root);
        index = w.Drive1->count() - 1;
    }
    const bool events = s.BrowseEventsOn;
    s.BrowseEventsOn = false;
    w.Drive1->setCurrentIndex(index);
    s.BrowseEventsOn = events;
}

// The shared "drive not ready" dialogue: true when the drive is (or became) ready, false when
// the user cancelled; the drive box is then set back.
bool FolderBrowser::checkDrive(const QString &folder)
{
    for (;;) {
        const QList<Volume> all = volumes();
        if (Volumes::Testa_CDPronto(folder, all))
            return true;
        const Volume *volume = Volumes::volumeOf(folder, all);
        const QString drive = volume ? volume->root : folder;
        const QString message = QStringLiteral("Drive ") + drive + QLatin1Char(' ')
            + LocalText(s, 1002, QStringLiteral("Not Ready ..."));
        if (m_parts.services.messages->show(message, RetryCancelQuestion) != Retry) {
            driveFallback(drive);
            return false;
        }
    }
}

void FolderBrowser::driveFallback(const QString &drive)
{
    const QList<Volume> all = volumes();
    const Volume *volume = Volumes::volumeOf(drive, all);
    if (!volume || volume->label.isEmpty())
        setDriveBox(AppDrive());
    else
        setDriveBox(drive);
    s.BrowseEventsOn = true;
}

void FolderBrowser::Drive1_Change()
{
    if (!s.BrowseEventsOn)
        return;
    WaitCursor wait;
    const QString drive = w.Drive1->currentData().toString();
    if (drive.isEmpty() || !checkDrive(drive))
        return;
    // A mount point that cannot be opened (gone, no permission): Retry tries again.
    while (!SetDir1(drive)) {
        const QString message
            = LocalText(s, 1003, QStringLiteral("Error reading Drive")) + QLatin1Char(' ') + drive;
        if (m_parts.services.messages->show(message, RetryCancelQuestion) != Retry) {
            driveFallback(drive);
            return;
        }
    }
}

// ---- Folder tree -----------------------------------------------------------------------------

bool FolderBrowser::SetDir1(const QString &folder)
{
    const QString target = WithoutTrailingSeparator(QDir::cleanPath(folder));
    if (target.isEmpty() || !QFileInfo(target).isDir())
        return false;
    if (target == m_dirFolder)
        return true;
    m_dirFolder = target;
    const QModelIndex index = m_model->index(target);
    if (index.isValid()) {
        const QSignalBlocker block(w.Dir1->selectionModel());
        w.Dir1->setCurrentIndex(index);
        m_treeView->follow(target);
    }
    Dir1_Change();
    return true;
}

void FolderBrowser::Dir1_Change()
{
    if (w.OptSameDir->isChecked())
        m_parts.output.FollowInputFolder(m_dirFolder);
    // Listing a folder lets window events run; a folder chosen meanwhile is listed as soon as
    // this listing stops, so the last choice wins and no list mixes two folders.
    if (m_listing) {
        m_folderAgain = true;
        return;
    }
    if (!s.BrowseEventsOn)
        return;
    m_listing = true;
    do {
        m_folderAgain = false;
        listFolder();
    } while (m_folderAgain && s.BrowseEventsOn);
    m_listing = false;
}

void FolderBrowser::listFolder()
{
    const QString folder = m_dirFolder;
    auto finish = [this] {
        pumpEvents();
        m_pendingFolder.clear();
        s.BrowseEventsOn = true;
        m_pathBox->setGuard(false);
    };
    // The focus stays where the user put it (the tree keeps its arrow keys while folders are
    // listed); parking it on an invisible control would leave no visible focus at all.
    pumpEvents();
    m_parts.commands.set(MainCommand::Tag, false);
    WaitCursor wait;
    m_parts.status.clear();
    pumpEvents();
    if (m_folderAgain)
        return;

    m_pathBox->setTextQuietly(folder);
    w.ListInput->clear();
    s.BrowseEventsOn = false;
    if (!Volumes::isNetworkPath(folder) && !checkDrive(folder)) {
        finish();
        return;
    }

    m_parts.commands.set(MainCommand::Tag, false);
    m_parts.commands.setConvertCommands(false);
    m_pendingFolder = folder;
    pumpEvents();
    if (m_folderAgain) {
        finish();
        return;
    }

    if (s.CurrentFolder != folder) {
        m_parts.media.releaseFiles();
        m_parts.commands.setPlayerCommands(false);
    }
    s.CurrentFolder = folder;
    pumpEvents();

    if (!s.PathTyped)
        m_pathBox->Inserisci_URL(folder);
    else
        s.PathTyped = false;

    if (!m_keepOutputList)
        w.ListOutput->clear();
    m_keepOutputList = false;

    clearMarkAll();
    m_list->fill(folder);
    const bool hasFiles = w.ListInput->count() > 0;
    if (hasFiles) {
        w.chkAll->setEnabled(m_list->filter().markAllEnabled);
        clearMarkAll();
        chkAll_Click();
        s.BrowseEventsOn = false;
        w.ListInput->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
        s.BrowseEventsOn = true;
        ListInput_Click();
    }
    if (hasFiles && s.QueueCount >= 1) {
        m_parts.commands.set(MainCommand::Convert, true);
        if (m_parts.commands.isOn(MainCommand::PlaySection))
            m_parts.commands.set(MainCommand::ConvertSection, true);
    }
    finish();
}

void FolderBrowser::cmdUp_Click()
{
    // Errors ignored: at the root there is nothing above.
    const QString parent = QFileInfo(m_dirFolder).absolutePath();
    if (!m_dirFolder.isEmpty() && parent != m_dirFolder)
        SetDir1(parent);
    w.CboType->setFocus();
}

void FolderBrowser::cmdRefr_Click()
{
    m_keepOutputList = true;
    pumpEvents();
    fillDriveBox();
    QString folder = m_dirFolder;
    if (!checkDrive(folder)) {
        pumpEvents();
        return;
    }
    if (!QFileInfo(folder).isDir()) {
        // The folder went away under us: say so, then show the nearest folder still there.
        m_parts.services.messages->show(QStringLiteral("76 Path not found"), 0);
        while (!folder.isEmpty() && folder != QLatin1String("/") && !QFileInfo(folder).isDir())
            folder = QFileInfo(folder).absolutePath();
    }
    s.BrowseEventsOn = true;
    s.CurrentFolder.clear();
    if (WithoutTrailingSeparator(folder) != m_dirFolder) {
        SetDir1(folder);
    } else {
        Dir1_Change();
    }
    pumpEvents();
}

// ---- Type filter and list fill ---------------------------------------------------------------

void FolderBrowser::ApplyTypeIndex(int index)
{
    if (w.CboType->currentIndex() == index)
        CboType_Click();
    else
        w.CboType->setCurrentIndex(index);
}

void FolderBrowser::CboType_Click()
{
    if (!s.BrowseEventsOn)
        return;
    m_parts.commands.setSectionControls(false);
    WaitCursor wait;
    m_parts.status.clear();

    const QString typeText = w.CboType->currentText();
    m_pendingFolder = m_dirFolder;
    if (typeText == s.LastTypeText && m_pendingFolder == s.CurrentFolder)
        return;
    if (!checkDrive(m_pendingFolder))
        return;
    pumpEvents();
    s.CurrentFolder = m_pendingFolder;

    m_parts.commands.set(MainCommand::Tag, false);
    m_parts.commands.setConvertCommands(false);
    const TypeFilter filter = TypeFilterOf(typeText);
    w.chkAll->setEnabled(filter.markAllEnabled);

    if (typeText != s.LastTypeText) {
        // A file named on the command line (the only full path CurrentFile ever holds) becomes
        // the current entry once listed, instead of being forgotten by the fill.
        const QString named = QFileInfo(s.CurrentFile).isAbsolute() ? s.CurrentFile : QString();
        s.LastTypeText = typeText;
        s.CurrentFile.clear();
        w.ListInput->clear();
        clearMarkAll();
        m_list->fill(m_dirFolder);
        if (w.ListInput->count() > 0) {
            // What the list now holds decides, not the type of the file current before it.
            const bool convertible = filter.convertible();
            m_parts.commands.set(MainCommand::Convert, convertible);
            m_parts.commands.set(MainCommand::ConvertSection, convertible && s.Cut.isSet());
            m_parts.commands.set(MainCommand::ConversionOptions, convertible);
            w.chkAll->setEnabled(convertible && filter.markAllEnabled);
            clearMarkAll();
            chkAll_Click();
            m_list->selectFile(named);
        }
    }
    s.TypeIndex = int16_t(w.CboType->currentIndex());
}

// ---- Path box --------------------------------------------------------------------------------

void FolderBrowser::CboURL_Click()
{
    if (!s.BrowseEventsOn)
        return;
    WaitCursor wait;
    m_pendingFolder = m_pathBox->text().trimmed();
    s.BrowseEventsOn = false;
    m_pathBox->setGuard(true);
    pumpEvents();

    // A lone letter named a drive; here it names no folder, and the accept fails quietly.
    if (m_pendingFolder.isEmpty() || m_pendingFolder.size() == 1) {
        acceptFailed();
        return;
    }
    if (!Volumes::isNetworkPath(m_pendingFolder)) {
        const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(m_pendingFolder));
        if (!checkDrive(absolute) || !QDir::setCurrent(absolute)) {
            acceptFailed();
            return;
        }
        m_pendingFolder = WithoutTrailingSeparator(absolute);
    }
    s.PathTyped = true;
    setDriveBox(m_pendingFolder);
    s.BrowseEventsOn = true;
    if (m_pendingFolder != m_dirFolder && !SetDir1(m_pendingFolder)) {
        acceptFailed();
        return;
    }
    pumpEvents();
    s.BrowseEventsOn = true;
    m_pathBox->setGuard(false);
}

void FolderBrowser::acceptFailed()
{
    m_pathBox->forget(m_pendingFolder);
    s.BrowseEventsOn = true;
    m_pathBox->setGuard(false);
}

void FolderBrowser::EnterPressed()
{
    if (!s.BrowseEventsOn)
        return;
    const QString typed = m_pathBox->text().trimmed();
    CboURL_Click();
    pumpEvents();
    if (!s.CurrentFile.isEmpty() && !typed.isEmpty()
        && s.CurrentFolder.toUpper().startsWith(WithoutTrailingSeparator(typed).toUpper()))
        m_pathBox->Inserisci_URL(s.CurrentFolder);
}

// ---- Start-up --------------------------------------------------------------------------------

void FolderBrowser::ShowStartFolder()
{
    m_pathBox->Carica_URL();
    m_pathBox->setTextQuietly(s.CurrentFolder);
    setDriveBox(s.CurrentFolder);
    // A folder that cannot be shown leaves the start in the home folder.
    if (!SetDir1(s.CurrentFolder))
        SetDir1(QDir::homePath());
    m_list->UpdateOrderChecks();
}

BrowserAccess &FolderBrowser::runAccess()
{
    return *m_runAccess;
}

// ---- Menus and drops -------------------------------------------------------------------------

void FolderBrowser::showFolderMenu(const QPoint &globalPos)
{
    w.DIRPOPUP->popup(globalPos);
}

void FolderBrowser::DropFiles(const QString &path)
{
    const DropData::Action action = DropData::actionFor(path, s.CurrentFolder);
    if (action == DropData::Action::Nothing)
        return;
    s.TypeIndex = 0;
    s.CurrentFile = ListLine::fileNameOf(path);
    switch (action) {
    case DropData::Action::OpenFolder: {
        WaitCursor wait;
        m_pathBox->setTextQuietly(QString());
        const bool events = s.BrowseEventsOn;
        s.BrowseEventsOn = false;
        SetDir1(path);
        s.BrowseEventsOn = events;
        cmdRefr_Click();
        break;
    }
    case DropData::Action::OpenFileFolder:
        SetDir1(QFileInfo(path).absolutePath());
        break;
    case DropData::Action::CurrentFileOnly:
    case DropData::Action::Nothing:
        break;
    }
}
