#pragma once
// The path history kept in the program's settings, section "URL".

#include "browser/PathHistory.h"

class QSettings;

class SettingsHistoryStore : public HistoryStore
{
public:
    explicit SettingsHistoryStore(QSettings &settings);
    QString value(const QString &key) const override;
    void setValue(const QString &key, const QString &value) override;
    void remove(const QString &key) override;

private:
    QString keyOf(const QString &key) const;
    QSettings &m_settings;
};
