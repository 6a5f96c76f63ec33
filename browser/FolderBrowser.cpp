#include "browser/FolderBrowser.h"

#include "app/AppState.h"
#include "app/Services.h"
#include "browser/DropData.h"
#include "browser/FolderTreeView.h"
#include "browser/InputList.h"
#include "browser/ListLine.h"
#include "browser/ListLineView.h"
#include "browser/QueueCount.h"
#include "browser/SizeText.h"
#include "browser/SortKeys.h"
#include "browser/TypeBoxView.h"
#include "browser/WidgetState.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QTreeView>

namespace {

// Button codes of the message box service and the flag sets of the browser's questions.
constexpr int Retry = 4;
constexpr int No = 7;
constexpr int RetryCancelQuestion = 293; // Retry/Cancel, question icon, Cancel default
constexpr int YesNoQuestionNoDefault = 292;

} // namespace

using namespace BrowserUi;

FolderBrowser::FolderBrowser(const BrowserWidgets &widgets, AppState &state, HistoryStore &history,
    MessageBoxService &messages, FolderBrowserHooks hooks, QObject *parent)
    : QObject(parent)
    , w(widgets)
    , s(state)
    , m_history(history)
    , m_messages(messages)
    , m_hooks(std::move(hooks))
{
    if (w.Dir1) {
        m_model = qobject_cast<QFileSystemModel *>(w.Dir1->model());
        if (!m_model) {
            m_model = new QFileSystemModel(w.Dir1);
            m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
            m_model->setRootPath(QStringLiteral("/"));
            w.Dir1->setModel(m_model);
            for (int column = 1; column < m_model->columnCount(); ++column)
                w.Dir1->hideColumn(column);
            w.Dir1->setHeaderHidden(true);
        }
        m_treeView = new FolderTreeView(w.Dir1, m_model);
    }
    if (w.CboURL) {
        w.CboURL->setEditable(true);
        w.CboURL->setInsertPolicy(QComboBox::NoInsert);
    }
    if (w.CboType)
        new TypeBoxView(w.CboType);
    if (w.ListInput) {
        w.ListInput->setSelectionMode(QAbstractItemView::ExtendedSelection);
        // Every line has the same height in the list's font; lets a 10,000-file folder show
        // without measuring each line.
        w.ListInput->setUniformItemSizes(true);
    }
    // List lines carry the path past the visible columns: cut them off, never mark the cut,
    // and never show the path however wide the list gets.
    for (QListWidget *list : {w.ListInput, w.ListOutput}) {
        if (!list)
            continue;
        list->setTextElideMode(Qt::ElideNone);
        list->setItemDelegate(new ListLineView(list));
    }
    m_list = std::make_unique<InputList>(w, s, m_hooks);
    fillDriveBox();
    connectSignals();
    for (QWidget *target : {w.window, static_cast<QWidget *>(w.CboType),
             static_cast<QWidget *>(w.CboURL), static_cast<QWidget *>(w.ListInput),
             static_cast<QWidget *>(w.Dir1), static_cast<QWidget *>(w.Drive1), w.cmdHelp,
             static_cast<QWidget *>(w.cmdRefr), static_cast<QWidget *>(w.cmdUp)})
        watchDrops(target);
}

FolderBrowser::~FolderBrowser() = default;

void FolderBrowser::SortList()
{
    m_list->SortList();
}

void FolderBrowser::SetSortOrder(const QString &order)
{
    m_list->SetSortOrder(order);
}

void FolderBrowser::UpdateOrderChecks()
{
    m_list->UpdateOrderChecks();
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
    if (w.Drive1)
        connect(w.Drive1, &QComboBox::currentIndexChanged, this, [this] { Drive1_Change(); });
    if (w.Dir1) {
        connect(w.Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &index) {
                if (!index.isValid())
                    return;
                const QString folder = withoutSeparator(m_model->filePath(index));
                if (folder == m_dirFolder)
                    return;
                m_dirFolder = folder;
                Dir1_Change();
            });
        w.Dir1->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w.Dir1, &QWidget::customContextMenuRequested, this, &FolderBrowser::showFolderMenu);
    }
    if (w.CboURL) {
        connect(w.CboURL, &QComboBox::editTextChanged, this, [this] { CboURL_Change(); });
        connect(w.CboURL, &QComboBox::activated, this, [this] { CboURL_Click(); });
    }
    if (w.CboType)
        connect(w.CboType, &QComboBox::currentIndexChanged, this, [this] { CboType_Click(); });
    if (w.cmdRefr)
        connect(w.cmdRefr, &QAbstractButton::clicked, this, [this] { cmdRefr_Click(); });
    if (w.cmdUp)
        connect(w.cmdUp, &QAbstractButton::clicked, this, [this] { cmdUp_Click(); });
    if (w.cmdClear)
        connect(w.cmdClear, &QAbstractButton::clicked, this, [this] { cmdClear_Click(); });
    if (w.chkAll)
        connect(w.chkAll, &QAbstractButton::clicked, this, [this] { chkAll_Click(); });
    if (w.ListInput) {
        connect(
            w.ListInput, &QListWidget::itemSelectionChanged, this, [this] { ListInput_Click(); });
        w.ListInput->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w.ListInput, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_list->showMenu(pos); });
    }
    const std::pair<QAction *, const char *> orders[]
        = {{w.mnuOrdName, "A"}, {w.mnuOrdExt, "E"}, {w.mnuOrdDate, "D"}, {w.mnuOrdSize, "S"}};
    for (const auto &[action, order] : orders) {
        if (!action)
            continue;
        action->setCheckable(true);
        const QString code = QString::fromLatin1(order);
        connect(action, &QAction::triggered, this, [this, code] { SetSortOrder(code); });
    }
}

QString FolderBrowser::text(int number, const QString &english) const
{
    return m_hooks.LocalText ? m_hooks.LocalText(number, english) : english;
}

QList<Volume> FolderBrowser::volumes() const
{
    return m_hooks.MountedVolumes ? m_hooks.MountedVolumes() : Volumes::current();
}

QString FolderBrowser::AppDrive() const
{
    const QString folder
        = s.AppFolder.isEmpty() ? QCoreApplication::applicationDirPath() : s.AppFolder;
    const QList<Volume> all = volumes();
    const Volume *volume = Volumes::volumeOf(folder, all);
    return volume ? volume->root : QStringLiteral("/");
}

// ---- Drive box -------------------------------------------------------------------------------

void FolderBrowser::fillDriveBox()
{
    if (!w.Drive1)
        return;
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
    if (!w.Drive1)
        return;
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
            + text(1002, QStringLiteral("Not Ready ..."));
        if (m_messages.show(message, RetryCancelQuestion) != Retry) {
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
    if (!s.BrowseEventsOn || !w.Drive1)
        return;
    WaitCursor wait;
    const QString drive = w.Drive1->currentData().toString();
    if (drive.isEmpty() || !checkDrive(drive))
        return;
    // A mount point that cannot be opened (gone, no permission): Retry tries again.
    while (!SetDir1(drive)) {
        const QString message
            = text(1003, QStringLiteral("Error reading Drive")) + QLatin1Char(' ') + drive;
        if (m_messages.show(message, RetryCancelQuestion) != Retry) {
            driveFallback(drive);
            return;
        }
    }
}

// ---- Folder tree -----------------------------------------------------------------------------

bool FolderBrowser::SetDir1(const QString &folder)
{
    const QString target = withoutSeparator(QDir::cleanPath(folder));
    if (target.isEmpty() || !QFileInfo(target).isDir())
        return false;
    if (target == m_dirFolder)
        return true;
    m_dirFolder = target;
    if (w.Dir1 && m_model) {
        const QModelIndex index = m_model->index(target);
        if (index.isValid()) {
            const QSignalBlocker block(w.Dir1->selectionModel());
            w.Dir1->setCurrentIndex(index);
            m_treeView->follow(target);
        }
    }
    Dir1_Change();
    return true;
}

void FolderBrowser::Dir1_Change()
{
    enable(w.Option1, false);
    enable(w.Option2, false);
    if (ticked(w.OptSameDir) && m_hooks.InputFolderChanged)
        m_hooks.InputFolderChanged(m_dirFolder);
    if (!s.BrowseEventsOn)
        return;

    // The focus stays where the user put it (the tree keeps its arrow keys while folders are
    // listed); parking it on an invisible control would leave no visible focus at all.
    pumpEvents();
    enable(w.cmdTag, false);
    enable(w.LabTag, false);
    WaitCursor wait;
    show(w.ImgMsg, false);
    if (w.LabStatus)
        w.LabStatus->clear();
    pumpEvents();

    if (w.CboURL) {
        setPathBoxQuietly(m_dirFolder);
    }
    if (w.ListInput)
        w.ListInput->clear();
    s.BrowseEventsOn = false;
    auto finish = [this] {
        pumpEvents();
        m_pendingFolder.clear();
        s.BrowseEventsOn = true;
        m_pathBoxGuard = false;
    };
    if (!Volumes::isNetworkPath(m_dirFolder) && !checkDrive(m_dirFolder)) {
        finish();
        return;
    }

    enable(w.cmdTag, false);
    enable(w.LabTag, false);
    enable(w.mnuTag, false);
    enable(w.mnuGrab, false);
    m_list->setConvertControls(false);
    m_pendingFolder = m_dirFolder;
    pumpEvents();

    if (s.CurrentFolder != m_pendingFolder) {
        if (m_hooks.ResetPlayer)
            m_hooks.ResetPlayer();
        for (QWidget *button : {w.cmdPlay, w.cmdPause, w.cmdStop, w.cmdPlayCut})
            enable(button, false);
    }
    s.CurrentFolder = withoutSeparator(m_pendingFolder);
    pumpEvents();

    if (!s.PathTyped)
        Inserisci_URL(m_pendingFolder);
    else
        s.PathTyped = false;

    if (!m_keepOutputList && w.ListOutput)
        w.ListOutput->clear();
    m_keepOutputList = false;

    if (w.chkAll)
        w.chkAll->setChecked(false);
    m_list->fill(m_dirFolder);
    const bool hasFiles = w.ListInput && w.ListInput->count() > 0;
    if (hasFiles) {
        enable(w.chkAll, m_list->filter().markAllEnabled);
        if (w.chkAll)
            w.chkAll->setChecked(false);
        chkAll_Click();
        s.BrowseEventsOn = false;
        w.ListInput->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
        s.BrowseEventsOn = true;
        ListInput_Click();
    }
    if (hasFiles && s.CurrentType != QLatin1String("WMA")
        && (ticked(w.chkWMA) || ticked(w.chkWAV))) {
        enable(w.cmdGrab, true);
        if (w.cmdPlayCut && w.cmdPlayCut->isEnabled()) {
            enable(w.cmdGrabCut, true);
            enable(w.chkCutNam, true);
        }
        m_list->followButtons();
    }
    finish();
}

void FolderBrowser::cmdUp_Click()
{
    // Errors ignored: at the root there is nothing above.
    const QString parent = QFileInfo(m_dirFolder).absolutePath();
    if (!m_dirFolder.isEmpty() && parent != m_dirFolder)
        SetDir1(parent);
    if (w.CboType)
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
        m_messages.show(QStringLiteral("76 Path not found"), 0);
        while (!folder.isEmpty() && folder != QLatin1String("/") && !QFileInfo(folder).isDir())
            folder = QFileInfo(folder).absolutePath();
    }
    s.BrowseEventsOn = true;
    s.CurrentFolder.clear();
    if (withoutSeparator(folder) != m_dirFolder) {
        SetDir1(folder);
    } else {
        Dir1_Change();
    }
    pumpEvents();
}

// ---- Type filter and list fill ---------------------------------------------------------------

void FolderBrowser::ApplyTypeIndex(int index)
{
    if (!w.CboType)
        return;
    if (w.CboType->currentIndex() == index)
        CboType_Click();
    else
        w.CboType->setCurrentIndex(index);
}

void FolderBrowser::CboType_Click()
{
    if (!s.BrowseEventsOn || !w.CboType)
        return;
    m_list->setCutControls(false);
    WaitCursor wait;
    show(w.ImgMsg, false);
    if (w.LabStatus)
        w.LabStatus->clear();

    const QString typeText = w.CboType->currentText();
    m_pendingFolder = m_dirFolder;
    if (typeText == s.LastTypeText && m_pendingFolder == s.CurrentFolder)
        return;
    if (!checkDrive(m_pendingFolder))
        return;
    pumpEvents();
    s.CurrentFolder = m_pendingFolder;

    enable(w.mnuGrab, false);
    enable(w.mnuTag, false);
    enable(w.cmdTag, false);
    enable(w.LabTag, false);
    m_list->setConvertControls(false);
    enable(w.chkAll, TypeFilterOf(typeText).markAllEnabled);

    if (typeText != s.LastTypeText) {
        // A file named on the command line (the only full path CurrentFile ever holds) becomes
        // the current entry once listed, instead of being forgotten by the fill.
        const QString named = QFileInfo(s.CurrentFile).isAbsolute() ? s.CurrentFile : QString();
        s.LastTypeText = typeText;
        s.CurrentFile.clear();
        if (w.ListInput)
            w.ListInput->clear();
        if (w.chkAll)
            w.chkAll->setChecked(false);
        m_list->fill(m_dirFolder);
        if (w.ListInput && w.ListInput->count() > 0) {
            const bool convertible = s.CurrentType != QLatin1String("WMA");
            enable(w.cmdGrab, convertible);
            enable(w.cmdGrabCut, convertible && s.CutSectionOnly);
            enable(w.chkCutNam, convertible && s.CutSectionOnly);
            enable(w.FraConv, convertible);
            enable(w.chkAll, convertible && m_list->filter().markAllEnabled);
            if (w.chkAll)
                w.chkAll->setChecked(false);
            chkAll_Click();
            m_list->selectFile(named);
        }
    }
    s.TypeIndex = int16_t(w.CboType->currentIndex());
}

// ---- Path box and history --------------------------------------------------------------------

void FolderBrowser::Carica_URL()
{
    if (!w.CboURL)
        return;
    const QStringList entries = PathHistory::load(m_history);
    m_pathBoxGuard = true;
    w.CboURL->clear();
    w.CboURL->addItems(entries);
    w.CboURL->setEditText(s.CurrentFolder);
    if (QLineEdit *edit = w.CboURL->lineEdit())
        edit->selectAll();
    m_pathBoxGuard = false;
    m_pathBoxLength = int(s.CurrentFolder.size());
    if (w.cmdClear)
        w.cmdClear->setEnabled(!entries.isEmpty());
}

QStringList FolderBrowser::pathBoxEntries() const
{
    QStringList entries;
    for (int i = 0; i < w.CboURL->count(); ++i)
        entries.append(w.CboURL->itemText(i));
    return entries;
}

// Shows text in the path box without running the completion on it.
void FolderBrowser::setPathBoxQuietly(const QString &text)
{
    m_pathBoxGuard = true;
    w.CboURL->setEditText(text);
    m_pathBoxGuard = false;
}

void FolderBrowser::Inserisci_URL(const QString &folder)
{
    if (!w.CboURL || folder.isEmpty())
        return;
    const QStringList entries = pathBoxEntries();
    PathHistory::insert(m_history, entries, withoutSeparator(folder));
    const QString shown = w.CboURL->currentText();
    Carica_URL();
    setPathBoxQuietly(shown);
    if (w.cmdClear)
        w.cmdClear->setEnabled(true);
}

void FolderBrowser::cmdClear_Click()
{
    if (!w.CboURL)
        return;
    const QString question = text(10310, QStringLiteral("Clear Path box ?"));
    if (m_messages.show(question, YesNoQuestionNoDefault) == No)
        return;
    if (w.cmdClear)
        w.cmdClear->setEnabled(false);
    const QStringList entries = pathBoxEntries();
    PathHistory::clear(m_history, entries);
    const QString shown = w.CboURL->currentText();
    m_pathBoxGuard = true;
    w.CboURL->clear();
    w.CboURL->setEditText(shown);
    m_pathBoxGuard = false;
}

void FolderBrowser::CboURL_Change()
{
    if (!s.BrowseEventsOn || m_pathBoxGuard || !w.CboURL)
        return;
    const QString typed = w.CboURL->currentText().trimmed();
    const int n = int(typed.size());
    if (n < m_pathBoxLength) {
        m_pathBoxLength = n; // the user deleted characters: no completion now
        return;
    }
    m_pathBoxGuard = true;
    pumpEvents();
    const QStringList entries = pathBoxEntries();
    if (const auto completed = PathHistory::complete(entries, typed)) {
        w.CboURL->setEditText(*completed);
        if (QLineEdit *edit = w.CboURL->lineEdit())
            edit->setSelection(n, int(completed->size()) - n);
        m_pathBoxLength = int(completed->size());
    } else {
        m_pathBoxLength = n;
    }
    m_pathBoxGuard = false;
    pumpEvents();
}

void FolderBrowser::CboURL_Click()
{
    if (!s.BrowseEventsOn || !w.CboURL)
        return;
    WaitCursor wait;
    m_pendingFolder = w.CboURL->currentText().trimmed();
    s.BrowseEventsOn = false;
    m_pathBoxGuard = true;
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
        m_pendingFolder = withoutSeparator(absolute);
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
    m_pathBoxGuard = false;
}

void FolderBrowser::acceptFailed()
{
    if (w.CboURL) {
        const QString pending = withoutSeparator(m_pendingFolder);
        for (int i = 0; i < w.CboURL->count(); ++i) {
            if (w.CboURL->itemText(i).compare(m_pendingFolder, Qt::CaseInsensitive) == 0
                || w.CboURL->itemText(i).compare(pending, Qt::CaseInsensitive) == 0) {
                w.CboURL->removeItem(i);
                break;
            }
        }
        w.CboURL->setEditText(QString());
    }
    s.BrowseEventsOn = true;
    m_pathBoxGuard = false;
}

void FolderBrowser::EnterPressed()
{
    if (!s.BrowseEventsOn || !w.CboURL)
        return;
    const QString typed = w.CboURL->currentText().trimmed();
    CboURL_Click();
    pumpEvents();
    if (!s.CurrentFile.isEmpty() && !typed.isEmpty()
        && s.CurrentFolder.toUpper().startsWith(withoutSeparator(typed).toUpper()))
        Inserisci_URL(s.CurrentFolder);
}

// ---- Start-up --------------------------------------------------------------------------------

void FolderBrowser::setPathBoxText(const QString &folder)
{
    m_pathBoxLength = int(folder.size());
    if (w.CboURL)
        setPathBoxQuietly(folder);
}

void FolderBrowser::setDrive(const QString &folder)
{
    setDriveBox(folder);
}

void FolderBrowser::setFolder(const QString &folder)
{
    // A folder that cannot be shown leaves the start in the home folder.
    if (!SetDir1(folder))
        SetDir1(QDir::homePath());
    UpdateOrderChecks();
}

bool FolderBrowser::isCdRom(const QString &folder)
{
    return Volumes::Testa_CDRom(folder, volumes());
}

void FolderBrowser::ShowStartFolder()
{
    setPathBoxText(s.CurrentFolder);
    setDrive(s.CurrentFolder);
    setFolder(s.CurrentFolder);
}

// ---- Menus and drops -------------------------------------------------------------------------

void FolderBrowser::showFolderMenu(const QPoint &pos)
{
    if (w.DIRPOPUP && w.Dir1)
        w.DIRPOPUP->popup(w.Dir1->viewport()->mapToGlobal(pos));
}

void FolderBrowser::watchDrops(QWidget *widget)
{
    if (!widget)
        return;
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
    if (auto *view = qobject_cast<QAbstractItemView *>(widget)) {
        view->viewport()->setAcceptDrops(true);
        view->viewport()->installEventFilter(this);
    }
    if (auto *box = qobject_cast<QComboBox *>(widget); box && box->lineEdit())
        box->lineEdit()->installEventFilter(this);
}

bool FolderBrowser::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (drag->mimeData() && DropData::canTake(*drag->mimeData())) {
            drag->acceptProposedAction();
            return true;
        }
        return false;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QString path = drop->mimeData() ? DropData::pathOf(*drop->mimeData()) : QString();
        if (path.isEmpty())
            return false;
        drop->acceptProposedAction();
        DropFiles(path);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
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
        if (w.CboURL)
            setPathBoxQuietly(QString());
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
