#include "AppShell.h"

#include "AboutText.h"
#include "HelpWindow.h"
#include "KeyboardFilter.h"
#include "MainWindow.h"
#include "browser/FolderBrowser.h"
#include "browser/InfoPanel.h"
#include "browser/SortKeys.h"
#include "browser/TypeFilter.h"
#include "conversion/ConversionQueue.h"
#include "core/AppState.h"
#include "core/PathHelpers.h"
#include "core/Settings.h"
#include "core/StatusLine.h"
#include "core/WidgetHelpers.h"
#include "core/WorkFiles.h"
#include "core/texts/Captions.h"
#include "core/texts/LocalText.h"
#include "playback/MediaControls.h"
#include "ui_frmMain.h"

#include <EncoderProfiles.h>

#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QStorageInfo>

namespace {
constexpr int WindowHeight = 565; // the window's designed height at 96 dpi

// Check boxes are stored as 0 (clear), 1 (ticked) or 2 (grey).
void setCheckValue(QCheckBox *box, int value)
{
    box->setCheckState(value == 1 ? Qt::Checked
            : value == 2          ? Qt::PartiallyChecked
                                  : Qt::Unchecked);
}

int checkValue(const QCheckBox *box)
{
    switch (box->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

} // namespace

AppShell::AppShell(MainWindow &window, const QString &appFolder)
    : QObject(&window)
    , m_window(window)
    , m_state(window.state())
    , m_settings(window.settings())
    , m_services(window.services())
    , m_appFolder(appFolder)
    , m_dataFolder(dataFolderOf(appFolder))
{
    Ui::frmMain &ui = m_window.ui();
    connect(&m_window, &MainWindow::closing, this, &AppShell::shutdown);
    // A session that ends quits the application without closing the window first.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &AppShell::shutdown);
    connect(ui.cmdHelp, &QPushButton::clicked, this, &AppShell::ShowHelp);
    connect(ui.cmdAbout, &QPushButton::clicked, this, &AppShell::showAbout);
    // A run under way stops before anything is saved or removed, and puts back what it set
    // aside.
    connect(this, &AppShell::stopping, &window.conversion(), &ConversionQueue::stopForShutdown);
    m_keyboard = new KeyboardFilter(m_window, m_state, [this] { switchLanguage(); });
}

AppShell::~AppShell()
{
    qApp->removeEventFilter(m_keyboard);
}

QStringList AppShell::typeEntries(const AppState &state)
{
    return TypeBoxEntries(LocalText(state, 381, QStringLiteral("Supported")));
}

QStringList AppShell::profileEntries()
{
    // The encoder's own table, so that the list and what the encoder accepts never differ.
    QStringList entries;
    for (const tonvera::EncoderProfile &profile : tonvera::encoderProfiles())
        entries.append(
            QString::fromUtf8(profile.entryText.data(), qsizetype(profile.entryText.size())));
    return entries;
}

QString AppShell::dataFolderOf(const QString &appFolder)
{
    QString beside = appFolder;
    AddTrailingSeparator(beside);
    const QString installed = QDir::cleanPath(beside + QStringLiteral("../share/tonvera")) + u'/';
    if (!QFileInfo::exists(beside + QStringLiteral("PRMSG"))
        && QFileInfo::exists(installed + QStringLiteral("PRMSG")))
        return installed;
    return beside;
}

void AppShell::placeWindow()
{
    m_window.resize(m_window.width(), WindowHeight);
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) {
        m_window.move(0, 0);
        return;
    }
    const QRect work = screen->availableGeometry();
    const QSize size = m_window.frameGeometry().size().expandedTo(m_window.size());
    const int left = std::max(work.left(), work.left() + (work.width() - size.width()) / 2);
    const int top = std::max(work.top(), work.top() + (work.height() - size.height()) / 2);
    m_window.move(left, top);
}

void AppShell::setHelpPaths()
{
    const QString base = m_dataFolder + QStringLiteral("TONVE_") + m_state.LanguageCode;
    m_state.HelpFilePath = base + QStringLiteral(".html");
    m_state.HelpIndexPath = base + QStringLiteral(".gid");
}

void AppShell::ChooseLanguage()
{
    m_state.LanguageCode = m_services.languages->chooseLanguage(m_state.LanguageCode);
    m_state.MessageSection = QStringLiteral("msg") + m_state.LanguageCode;
    m_settings.setText(Keys::Language, m_state.LanguageCode);
    m_settings.sync();
    setHelpPaths();
}

void AppShell::switchLanguage()
{
    ChooseLanguage();
    // The new caption of Lab2 would drop the marked-files count on show until the next click.
    QLabel *lab2 = m_window.ui().Lab2;
    const QString oldCaption = lab2->text();
    const qsizetype countAt = oldCaption.lastIndexOf(QStringLiteral("   ("));
    m_qtTranslation.use(m_state.LanguageCode);
    ApplyCaptions(&m_window, m_state);
    ApplyTooltips(&m_window, m_state);
    if (countAt >= 0)
        lab2->setText(lab2->text() + oldCaption.mid(countAt));

    // The type box's entries follow the language too; the entry shown stays, and is not
    // applied again (the list stays as it is).
    QComboBox *types = m_window.ui().CboType;
    const int index = types->currentIndex();
    const bool applied = index >= 0 && types->currentText() == m_state.LastTypeText;
    {
        const QSignalBlocker quiet(types);
        types->clear();
        types->addItems(typeEntries(m_state));
        types->setCurrentIndex(index);
    }
    if (applied)
        m_state.LastTypeText = types->currentText();
    // The panel says what it shows in the new language.
    if (!m_state.ShownFilePath.isEmpty() && QFileInfo(m_state.ShownFilePath).size() > 0)
        m_window.infoPanel().ShowFileInfo(m_state.ShownFilePath, FileTypeOf(m_state.ShownFilePath));
}

bool AppShell::start(const QStringList &arguments)
{
    Ui::frmMain &ui = m_window.ui();
    placeWindow();

    m_state.AppFolder = m_appFolder;
    AddTrailingSeparator(m_state.AppFolder);

    const QString language = m_settings.text(Keys::Language);
    if (!language.isEmpty()) {
        m_state.LanguageCode = language;
        setHelpPaths();
    } else {
        ChooseLanguage();
    }
    m_state.MessageSection = (QStringLiteral("msg") + m_state.LanguageCode).left(5);
    m_state.MessageFilePath = m_dataFolder + QStringLiteral("PRMSG");
    m_window.setWindowTitle(QStringLiteral(" Tonvera"));

    if (!m_services.sound->hasAudioOutput()) {
        m_services.messages->show(
            LocalText(m_state, 88,
                QStringLiteral("Tonvera requires a SOUNDCARD is installed on the PC ...")),
            16);
        return false;
    }

    m_qtTranslation.use(m_state.LanguageCode);
    ApplyCaptions(&m_window, m_state);

    const WidgetHelpers::WaitCursor wait;
    m_state.WorkFolder = OpenWorkFolder();
    QCoreApplication::processEvents();

    // The browser acts on the type box only from step "events on"; the index is left unset so
    // that setting it then always runs the type filter.
    ui.CboType->clear();
    ui.CboType->addItems(typeEntries(m_state));
    ui.CboType->setCurrentIndex(-1);
    ui.cboProfile->clear();
    ui.cboProfile->addItems(profileEntries());
    ui.cboProfile->setCurrentIndex(4);

    // A path that is not there starts as if none was given; the status line says so at the end.
    QString given = arguments.value(0);
    QString missing;
    if (!given.isEmpty() && !QFileInfo::exists(given)) {
        missing = QFileInfo(given).absoluteFilePath();
        given.clear();
    }
    const bool fileGiven = !given.isEmpty() && !QFileInfo(given).isDir();
    restoreFolderAndOrder(given);
    restoreOptions();
    ApplyTooltips(&m_window, m_state);

    if (m_state.CurrentFolder.toUpper() != m_state.AppFolder.toUpper())
        QDir::setCurrent(m_state.CurrentFolder);

    FolderBrowser &browser = m_window.folderBrowser();
    m_state.SaveFolder = m_settings.text(Keys::savDir, m_state.CurrentFolder);
    browser.ShowStartFolder();
    m_state.UserOutputFolder = m_settings.text(Keys::usrDir, m_state.CurrentFolder);
    m_state.kTimeMP3 = m_settings.single(Keys::kTimeMP3);
    m_state.kTimeWAV = m_settings.single(Keys::kTimeWAV);
    m_state.FilesAtOnce = FilesAtOnceOf(m_settings.integer(Keys::FilesAtOnce));

    QCoreApplication::processEvents();

    qApp->installEventFilter(m_keyboard);
    m_window.show();

    m_state.BrowseEventsOn = true;
    // A file named on the command line opens with the type box entry that lists it.
    int typeIndex = m_state.TypeIndex;
    if (fileGiven) {
        const QString type = FileTypeOf(m_state.CurrentFile);
        typeIndex = type == QLatin1String("WAV") ? 1 : type == QLatin1String("WMA") ? 3 : 0;
    }
    if (typeIndex < 0 || typeIndex >= ui.CboType->count())
        typeIndex = 0;
    browser.ApplyTypeIndex(typeIndex);

    ui.OptSameDir->setChecked(true);
    ui.OptSameDir->click();

    const QString dataFolder = ProgramDataFolder(m_state.AppFolder);
    m_state.BatchFilePath = ShortPathOf(dataFolder) + QStringLiteral("tmpbat.sh");
    m_state.ConfigFilePath = ShortPathOf(dataFolder) + QStringLiteral("tmpconf.weu");
    WriteBatchFile(m_state.BatchFilePath, m_state.AppFolder + QStringLiteral("wm8eutil"),
        m_state.ConfigFilePath);
    if (!missing.isEmpty()) {
        m_window.statusLine().setText(
            LocalText(m_state, 12060, QStringLiteral("Not found:")) + u' ' + missing);
        m_window.statusLine().showWarningPicture(true);
    }
    m_started = true;
    return true;
}

void AppShell::restoreFolderAndOrder(const QString &path)
{
    if (!path.isEmpty()) {
        // A relative name from a shell is taken in the shell's folder.
        const QFileInfo given(path);
        if (given.isDir()) {
            // A folder keeps the type the user left the box on.
            m_state.CurrentFolder = QDir::cleanPath(given.absoluteFilePath());
            m_state.TypeIndex = int16_t(m_settings.integer(Keys::iTyp));
        } else {
            m_state.CurrentFile = given.absoluteFilePath();
            FolderOfPath(m_state.CurrentFile, m_state.CurrentFolder);
        }
        m_state.SortOrder.clear();
    } else {
        m_state.CurrentFolder = m_settings.text(Keys::Path, QDir::homePath());
        m_state.SortOrder = m_settings.text(Keys::swOrd);
        if (!SortKeys::isOrder(m_state.SortOrder))
            m_state.SortOrder = QLatin1String(Keys::swOrd.defaultText);
        m_settings.remove(Keys::Path);
        m_settings.sync();
        m_state.TypeIndex = int16_t(m_settings.integer(Keys::iTyp));

        if (m_state.CurrentFolder.startsWith(QLatin1String("//")))
            m_state.CurrentFolder = QStringLiteral("/");
        else if (m_window.folderBrowser().isCdRom(m_state.CurrentFolder))
            m_state.CurrentFolder = QStorageInfo(m_state.CurrentFolder).rootPath();
    }
    // A folder that has gone since the last run (unmounted, deleted) opens the home folder.
    if (!QFileInfo(m_state.CurrentFolder).isDir())
        m_state.CurrentFolder = QDir::homePath();
    QCoreApplication::processEvents();
}

void AppShell::restoreOptions()
{
    Ui::frmMain &ui = m_window.ui();
    setCheckValue(ui.ChkTag, m_settings.integer(Keys::ChkTag));
    const int cutNames = m_settings.integer(Keys::chkCutNam);
    setCheckValue(ui.chkCutNam, cutNames);
    if (cutNames == 1)
        m_state.CutNamesOn = true;
    if (m_settings.boolean(Keys::Option1)) {
        ui.Option1->setChecked(true);
    } else {
        ui.Option2->setChecked(true);
        const int index = m_settings.integer(Keys::ListIndex);
        if (index >= 0 && index < ui.cboProfile->count())
            ui.cboProfile->setCurrentIndex(index);
    }
    ui.cboProfile->setEnabled(ui.Option2->isChecked());
    if (m_settings.boolean(Keys::OptParName))
        ui.OptParName->setChecked(true);
    else
        ui.OptStdName->setChecked(true);
}

void AppShell::shutdown()
{
    if (m_shutDown || !m_started)
        return;
    m_shutDown = true;
    Ui::frmMain &ui = m_window.ui();

    m_state.RunStopped = true;
    emit stopping();
    // The preview falls silent at once and lets go of its file.
    m_window.media().releaseFiles();
    QCoreApplication::processEvents();

    m_settings.setBoolean(Keys::Option1, ui.Option1->isChecked());
    if (ui.Option2->isChecked())
        m_settings.setInteger(Keys::ListIndex, ui.cboProfile->currentIndex());
    m_settings.setInteger(Keys::ChkTag, checkValue(ui.ChkTag));
    m_settings.setInteger(Keys::chkCutNam, checkValue(ui.chkCutNam));
    m_settings.setBoolean(Keys::OptParName, ui.OptParName->isChecked());

    m_settings.setText(Keys::Path, m_state.CurrentFolder);
    m_settings.setInteger(Keys::iTyp, m_state.TypeIndex);
    // A run started on a file has no order of its own; the user's saved order stays.
    if (SortKeys::isOrder(m_state.SortOrder))
        m_settings.setText(Keys::swOrd, m_state.SortOrder);
    m_settings.setText(Keys::savDir, m_state.SaveFolder);
    m_settings.setText(Keys::usrDir, m_state.UserOutputFolder);
    m_settings.setSingle(Keys::kTimeMP3, m_state.kTimeMP3);
    m_settings.setSingle(Keys::kTimeWAV, m_state.kTimeWAV);
    m_settings.sync();

    if (!m_state.WorkFolder.isEmpty())
        ClearFolder(m_state.WorkFolder, true);
    RemoveTemporaryFile(m_state.BatchFilePath);
    // An output set aside as ".tmp.wma" is the user's file (maybe the source itself): the
    // stopped run put it back, and what is left of it is never deleted here.
    RemoveTemporaryFile(m_state.ConfigFilePath);
    RemoveTemporaryFile(m_state.HelpIndexPath);

    qApp->removeEventFilter(m_keyboard);
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows)
        if (w != &m_window && w->isVisible())
            w->close();
    QCoreApplication::processEvents();
}

void AppShell::ShowHelp()
{
    if (!m_help)
        m_help = new HelpWindow(&m_window);
    m_help->setWindowTitle(
        QStringLiteral(" Tonvera - ") + LocalText(m_state, 350, QStringLiteral("Help")));
    if (!m_help->showFile(m_state.HelpFilePath))
        m_services.messages->show(
            LocalText(m_state, 12050, QStringLiteral("The help file cannot be found:")) + u'\n'
                + m_state.HelpFilePath,
            48);
}

void AppShell::showAbout()
{
    AboutWords words;
    words.summary = LocalText(m_state, 12041, words.summary);
    words.libraries = LocalText(m_state, 12042, words.libraries);
    words.interface = LocalText(m_state, 12043, words.interface);
    QMessageBox::about(&m_window,
        QStringLiteral(" Tonvera - ") + LocalText(m_state, 10112, QStringLiteral("Information")),
        AboutText(words));
}
