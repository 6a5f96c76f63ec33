// Tonvera: converts MP3 and WAV files to WMA.
#include "AppShell.h"
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
#include <QStyle>
#include <QStyleFactory>

int main(int argc, char *argv[])
{
    // Qt's FFmpeg media backend crashes when it plays without a sound server; GStreamer copes.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tonvera"));
    QApplication::setApplicationName(QStringLiteral("Tonvera"));
    QApplication::setApplicationVersion(QStringLiteral(TONVERA_VERSION));
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

    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (!shell.start(arguments.mid(0, 1)))
        return 1;
    // Only once started: before that there is nothing to save and a signal ends the program.
    SignalCloser closer(window);
    return app.exec();
}
