#pragma once
// The path history kept in the program's settings, section "URL".

#include "browser/PathHistory.h"

class Settings;

class SettingsHistoryStore : public HistoryStore
{
public:
    explicit SettingsHistoryStore(Settings &settings);
    QString value(const QString &key) const override;
    void setValue(const QString &key, const QString &value) override;
    void remove(const QString &key) override;

private:
    Settings &m_settings;
};
