#include "core/Settings.h"

#include <QDir>
#include <QSettings>

namespace {
QString fullKey(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}
} // namespace

Settings::Settings()
    : Settings(settingsFilePath())
{
}

Settings::Settings(const QString &filePath)
    : m_store(std::make_unique<QSettings>(filePath, QSettings::IniFormat))
{
}

Settings::~Settings() = default;

QString Settings::settingsFilePath()
{
    // Read the variable each time rather than through Qt's cached paths, so a process (or a
    // test) that points XDG_CONFIG_HOME elsewhere gets that store.
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Tonvera/Tonvera.conf");
}

QString Settings::fileName() const
{
    return m_store->fileName();
}

QString Settings::text(const QString &section, const QString &key, const QString &defaultText) const
{
    const QVariant value = m_store->value(fullKey(section, key));
    if (!value.isValid())
        return defaultText;
    // QSettings reads "a, b" back as a list; the store only ever holds plain text.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

void Settings::setText(const QString &section, const QString &key, const QString &value)
{
    m_store->setValue(fullKey(section, key), value);
}

void Settings::remove(const QString &section, const QString &key)
{
    m_store->remove(fullKey(section, key));
}

bool Settings::contains(const QString &section, const QString &key) const
{
    return m_store->contains(fullKey(section, key));
}

QString Settings::text(const SettingKey &key) const
{
    return text(QLatin1String(key.section), QLatin1String(key.key), QLatin1String(key.defaultText));
}

QString Settings::text(const SettingKey &key, const QString &defaultText) const
{
    return text(QLatin1String(key.section), QLatin1String(key.key), defaultText);
}

bool Settings::boolean(const SettingKey &key) const
{
    return parseBoolean(text(key), parseBoolean(QLatin1String(key.defaultText), false));
}

int Settings::integer(const SettingKey &key) const
{
    bool ok = false;
    const int value = text(key).trimmed().toInt(&ok);
    return ok ? value : QString::fromLatin1(key.defaultText).toInt();
}

float Settings::single(const SettingKey &key) const
{
    return parseSingle(text(key), parseSingle(QLatin1String(key.defaultText), 0.0f));
}

void Settings::setText(const SettingKey &key, const QString &value)
{
    setText(QLatin1String(key.section), QLatin1String(key.key), value);
}

void Settings::setBoolean(const SettingKey &key, bool value)
{
    setText(key, booleanText(value));
}

void Settings::setInteger(const SettingKey &key, int value)
{
    setText(key, QString::number(value));
}

void Settings::setSingle(const SettingKey &key, float value)
{
    setText(key, singleText(value));
}

void Settings::remove(const SettingKey &key)
{
    remove(QLatin1String(key.section), QLatin1String(key.key));
}

void Settings::sync()
{
    m_store->sync();
}

QString Settings::booleanText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool Settings::parseBoolean(const QString &text, bool fallback)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const int number = t.toInt(&ok); // a number: anything but 0 is true
    return ok ? number != 0 : fallback;
}

QString Settings::singleText(float value)
{
    return QString::number(double(value), 'g', 7);
}

float Settings::parseSingle(const QString &text, float fallback)
{
    // Written with "." by us; a value typed in a locale with decimal commas is accepted too.
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const float value = t.toFloat(&ok);
    return ok ? value : fallback;
}
