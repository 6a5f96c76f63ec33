#pragma once
// An environment variable set for as long as the object lives; then back as it was, unset
// included. As a fixture's member, it lives for one test.

#include <QByteArray>
#include <QtGlobal>

class ScopedEnv
{
public:
    ScopedEnv(const char *name, const QByteArray &value)
        : m_name(name)
        , m_saved(qgetenv(name))
        , m_wasSet(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv() { m_wasSet ? qputenv(m_name, m_saved) : qunsetenv(m_name); }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    const char *m_name;
    QByteArray m_saved;
    bool m_wasSet;
};
