#include "browser/SettingsHistoryStore.h"

#include <QSettings>

SettingsHistoryStore::SettingsHistoryStore(QSettings &settings)
    : m_settings(settings)
{
}

QString SettingsHistoryStore::keyOf(const QString &key) const
{
    return QStringLiteral("URL/") + key;
}

QString SettingsHistoryStore::value(const QString &key) const
{
    return m_settings.value(keyOf(key)).toString();
}

void SettingsHistoryStore::setValue(const QString &key, const QString &value)
{
    m_settings.setValue(keyOf(key), value);
}

void SettingsHistoryStore::remove(const QString &key)
{
    m_settings.remove(keyOf(key));
}
