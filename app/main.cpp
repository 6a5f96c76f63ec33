// Tonvera: converts MP3 and WAV files to WMA.
#include "AppState.h"
#include "MainWindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Qt's FFmpeg media backend crashes when it plays without a sound server; GStreamer copes.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tonvera"));
    QApplication::setApplicationName(QStringLiteral("Tonvera"));

    AppState state;
    MainWindow window(state);
    window.show();
    return app.exec();
}
