#pragma once
// Turns SIGTERM, SIGINT and SIGHUP into a normal close of the main window, so that a program
// ended from a terminal or by the session still saves its settings and removes its working
// files. The signal handler only writes a byte to a pipe; the close runs on the window thread.

#include <QObject>

class QSocketNotifier;
class QWidget;

class SignalCloser : public QObject
{
    Q_OBJECT

public:
    // Installs the handlers for the life of this object; only one may exist at a time.
    explicit SignalCloser(QWidget &window);
    ~SignalCloser() override;

private:
    void closeWindow();

    QWidget &m_window;
    QSocketNotifier *m_notifier = nullptr;
};
