#include "browser/PathHistory.h"

#include "core/PathHelpers.h"

namespace PathHistory {

QStringList load(const HistoryStore &store)
{
    QStringList entries;
    for (int i = 0; i < MaxEntries; ++i) {
        const QString folder = store.value(QString::number(i));
        if (folder.isEmpty())
            break;
        entries.append(folder);
    }
    return entries;
}

QStringList insert(HistoryStore &store, const QStringList &entries, const QString &folder)
{
    int key = 1;
    for (const QString &entry : entries) {
        // Keys stop at "40": what does not fit would never be read back.
        if (key >= MaxEntries)
            break;
        if (entry.compare(folder, Qt::CaseInsensitive) == 0)
            continue;
        store.setValue(QString::number(key++), entry);
    }
    store.setValue(QStringLiteral("0"), folder);
    return load(store);
}

void clear(HistoryStore &store, const QStringList &entries)
{
    for (qsizetype i = 0; i < entries.size(); ++i)
        store.remove(QString::number(i));
}

std::optional<QString> complete(const QStringList &entries, const QString &typed)
{
    const QString t = typed.trimmed().toUpper();
    if (t.isEmpty())
        return std::nullopt;
    for (const QString &entry : entries) {
        const QString candidate = JoinPath(entry, QString());
        const QString upper = candidate.toUpper();
        if (upper.left(t.size()) == t && upper != t)
            return candidate;
    }
    return std::nullopt;
}

} // namespace PathHistory
