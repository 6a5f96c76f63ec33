#pragma once
// The path box history: up to 41 folders kept in the settings section "URL" under the keys
// "0" (newest) to "40", and the completion of a typed folder from it.

#include <QString>
#include <QStringList>
#include <optional>

// The few calls the history makes on the settings store (section "URL").
class HistoryStore
{
public:
    virtual ~HistoryStore() = default;
    virtual QString value(const QString &key) const = 0;
    virtual void setValue(const QString &key, const QString &value) = 0;
    virtual void remove(const QString &key) = 0;
};

namespace PathHistory {

constexpr int MaxEntries = 41;

// Reads keys "0" to "40" and stops at the first empty one.
QStringList load(const HistoryStore &store);

// Puts folder first: the listed entries that differ from it (ignoring case) go to keys "1",
// "2", ... in their order, folder to key "0". Returns the reloaded history.
QStringList insert(HistoryStore &store, const QStringList &entries, const QString &folder);

// Deletes the key of every listed entry, "0", "1", ... (the list is emptied by the caller).
void clear(HistoryStore &store, const QStringList &entries);

// What typing t into the path box completes to: the first entry e whose e + "/" begins with
// the trimmed t (ignoring case) and is not equal to it. The completed text is e + "/".
std::optional<QString> complete(const QStringList &entries, const QString &typed);

} // namespace PathHistory
