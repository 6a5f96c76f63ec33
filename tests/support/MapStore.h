#pragma once
// An in-memory folder history, so tests see exactly which keys the browser writes.

#include "browser/PathHistory.h"

#include <QMap>

class MapStore : public HistoryStore
{
public:
    QMap<QString, QString> keys;
    QString value(const QString &key) const override { return keys.value(key); }
    void setValue(const QString &key, const QString &value) override { keys[key] = value; }
    void remove(const QString &key) override { keys.remove(key); }
};
