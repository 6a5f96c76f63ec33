#include "browser/SettingsHistoryStore.h"

#include "core/Settings.h"

namespace {
const QString Section = QStringLiteral("URL");
}

SettingsHistoryStore::SettingsHistoryStore(Settings &settings)
    : m_settings(settings)
{
}

QString SettingsHistoryStore::value(const QString &key) const
{
    return m_settings.text(Section, key, QString());
}

void SettingsHistoryStore::setValue(const QString &key, const QString &value)
{
    m_settings.setText(Section, key, value);
}

void SettingsHistoryStore::remove(const QString &key)
{
    m_settings.remove(Section, key);
}
