// Tonvera: converts MP3 and WAV files to WMA.
#include "AppShell.h"
#include "CommandLine.h"
#include "MainWindow.h"
#include "QtMessageBox.h"
#include "QtSoundDevice.h"
#include "SignalCloser.h"
#include "TechLanChooser.h"
#include "core/AppState.h"
#include "core/Settings.h"
#include "dialogs/FolderPicker.h"
#include "tags/CommonFileDialog.h"
#include "tags/TechRen.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>
#include <QStyleFactory>

#include <cstdio>

namespace {
// The application icon in every size shipped with the program's data.
QIcon appIcon(const QString &dataFolder)
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(dataFolder + QStringLiteral("icons/tonvera-%1.png").arg(size));
    return icon;
}
} // namespace

int main(int argc, char *argv[])
{
    // --help and --version answer before Qt looks for a display or a sound server.
    QStringList rawArguments;
    for (int i = 1; i < argc; ++i)
        rawArguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine early = ParseCommandLine(rawArguments);
    if (early.action == CommandLine::Help || early.action == CommandLine::Version) {
        const QString text = early.action == CommandLine::Help ? UsageText() : VersionText();
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }

    // Qt's FFmpeg media backend crashes when it plays without a sound server; GStreamer copes.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");

    QApplication app(argc, argv);
    // Qt has taken its own options (-style, -platform ...); what is left is ours.
    const CommandLine line = ParseCommandLine(QCoreApplication::arguments().mid(1));
    if (line.action == CommandLine::Error) {
        std::fputs(
            qPrintable(QStringLiteral("tonvera: %1\nTry 'tonvera --help'.\n").arg(line.error)),
            stderr);
        return 2;
    }
    QApplication::setOrganizationName(QStringLiteral("Tonvera"));
    QApplication::setApplicationName(QStringLiteral("Tonvera"));
    QApplication::setApplicationVersion(QStringLiteral(TONVERA_VERSION));
    // Desktops match the windows to the menu entry and its icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tonvera.Tonvera"));
    QApplication::setWindowIcon(
        appIcon(AppShell::dataFolderOf(QCoreApplication::applicationDirPath())));
    // Without a desktop theme plugin Qt falls back to a dated look; Fusion fits any desktop.
    if (QApplication::style()->name().compare(QLatin1String("windows"), Qt::CaseInsensitive) == 0)
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    AppState state;
    Settings settings;
    QtMessageBox messages;
    FolderPicker folders;
    QtSoundDevice sound;
    TechLanChooser languages;
    MountedVolumes volumes;
    QtRenameBox renameBox(state);
    CommonFileDialog fileDialog;
    const AppServices services {
        &messages, &folders, &sound, &languages, &volumes, &renameBox, &fileDialog};

    MainWindow window(state, settings, services);
    messages.setOwner(&window);
    folders.setOwner(&window);
    languages.setOwner(&window);
    renameBox.setOwner(&window);
    fileDialog.setOwner(&window);
    AppShell shell(window, QCoreApplication::applicationDirPath());

    if (!shell.start(line.path.isEmpty() ? QStringList() : QStringList {line.path}))
        return 1;
    // Only once started: before that there is nothing to save and a signal ends the program.
    SignalCloser closer(window);
    return app.exec();
}
