#pragma once
// One run of a helper program (the decoder tnvr3w, or the encoder through its batch script) as a
// child process with an argument list, so no name is ever split or read by a shell. Reports the
// helper's "progress N" lines and its end: success only for a normal exit with status 0,
// otherwise the helper's own last words on standard error.

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

class HelperProcess : public QObject
{
    Q_OBJECT
public:
    explicit HelperProcess(QObject *parent = nullptr);
    ~HelperProcess() override;

    // Starts program without waiting for it; false (with finished() not emitted) when it is
    // not there to start, errorText() then names it. A start that fails later ends in
    // finished(false, …). name is what the messages call it (the program's file name when
    // empty), for a helper started through a script.
    bool start(const QString &program, const QStringList &arguments, const QString &name = {});
    // Ends a running helper: asked to terminate first, killed when it does not go within two
    // seconds. finished() is not emitted for a stopped helper.
    void stop();
    bool isRunning() const;
    QString errorText() const { return m_error; }

signals:
    void progress(int percent);
    void finished(bool ok, const QString &errorText);

private:
    void readOutput();
    void onFinished(int exitCode, QProcess::ExitStatus status);

    QProcess *m_process = nullptr;
    QByteArray m_pending;
    QString m_error;
    QString m_program;
};
