#include "conversion/HelperProcess.h"

#include <QFileInfo>

#include <algorithm>

#include <unistd.h>

HelperProcess::HelperProcess(QObject *parent)
    : QObject(parent)
{
}

HelperProcess::~HelperProcess()
{
    stop();
}

bool HelperProcess::start(const QString &program, const QStringList &arguments, const QString &name)
{
    stop();
    m_error.clear();
    m_pending.clear();
    m_program = name.isEmpty() ? QFileInfo(program).fileName() : name;
    m_process = new QProcess(this);
    m_process->setProgram(program);
    m_process->setArguments(arguments);
    m_process->setStandardInputFile(QProcess::nullDevice());
    // Decoding and encoding are batch work that keeps every core busy: the helpers yield to
    // the window, so that it answers at once while they run. They still take every idle cycle.
    m_process->setChildProcessModifier([] { [[maybe_unused]] const int niceness = ::nice(5); });
    connect(m_process, &QProcess::readyReadStandardOutput, this, &HelperProcess::readOutput);
    connect(m_process, &QProcess::finished, this, &HelperProcess::onFinished);
    // A helper that is not there is said at once; one that fails to start later (it cannot
    // be run after all) ends like a failed run. The window never waits for a start.
    const QFileInfo file(program);
    if (!file.isFile() || !file.isExecutable()) {
        m_error
            = QStringLiteral("%1 cannot be started: it is missing or not a program").arg(program);
        delete m_process;
        m_process = nullptr;
        return false;
    }
    connect(
        m_process, &QProcess::errorOccurred, this, [this, program](QProcess::ProcessError error) {
            if (error != QProcess::FailedToStart || !m_process)
                return;
            m_error
                = QStringLiteral("%1 cannot be started: %2").arg(program, m_process->errorString());
            m_process->deleteLater();
            m_process = nullptr;
            emit finished(false, m_error);
        });
    m_process->start();
    return true;
}

void HelperProcess::stop()
{
    if (!m_process)
        return;
    QProcess *process = m_process;
    m_process = nullptr;
    process->disconnect(this);
    if (process->state() != QProcess::NotRunning) {
        process->terminate();
        if (!process->waitForFinished(2000)) {
            process->kill();
            process->waitForFinished(2000);
        }
    }
    delete process;
}

bool HelperProcess::isRunning() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

void HelperProcess::readOutput()
{
    if (!m_process)
        return;
    m_pending += m_process->readAllStandardOutput();
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QByteArray line = m_pending.left(end).trimmed();
        m_pending.remove(0, end + 1);
        if (line.startsWith("progress ")) {
            bool ok = false;
            const int percent = line.mid(9).toInt(&ok);
            if (ok)
                emit progress(std::clamp(percent, 0, 100));
        }
    }
}

void HelperProcess::onFinished(int exitCode, QProcess::ExitStatus status)
{
    if (!m_process)
        return;
    readOutput();
    const QString words = QString::fromLocal8Bit(m_process->readAllStandardError()).trimmed();
    const bool ok = status == QProcess::NormalExit && exitCode == 0;
    if (!ok) {
        const QString last = words.section(QLatin1Char('\n'), -1).trimmed();
        m_error = !last.isEmpty() ? last
            : status == QProcess::CrashExit
            ? QStringLiteral("%1 was ended before it finished").arg(m_program)
            : QStringLiteral("%1 failed (exit status %2)").arg(m_program).arg(exitCode);
    }
    m_process->deleteLater();
    m_process = nullptr;
    emit finished(ok, m_error);
}
