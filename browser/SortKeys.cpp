#include "browser/SortKeys.h"
#include "browser/ListLine.h"

#include <algorithm>

namespace SortKeys {

namespace {

// Ends the date and size prefixes; the line follows it.
const QString KeySeparator = QStringLiteral(" -\\- ");

} // namespace

QString extensionKey(const QString &path)
{
    QString tail = ListLine::trimBlanks(path).right(4);
    const qsizetype dot = tail.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        tail = tail.mid(dot + 1);
    return tail.rightJustified(4, QLatin1Char(' '));
}

QString keyOf(const QString &order, const Entry &entry)
{
    if (order == QLatin1String("E"))
        return extensionKey(entry.path) + entry.line;
    if (order == QLatin1String("D"))
        return entry.modified.toString(QStringLiteral("yyyy MM dd HH mm ss")) + KeySeparator
            + entry.line;
    if (order == QLatin1String("S")) {
        // Padded to 19 digits rather than 10, so files of 10 GB and more still sort after
        // smaller ones.
        return QString::number(qMax<qint64>(entry.size, 0)).rightJustified(19, QLatin1Char('0'))
            + KeySeparator + entry.line;
    }
    return entry.line;
}

bool isOrder(const QString &order)
{
    for (const char *code : Orders)
        if (order == QLatin1String(code))
            return true;
    return false;
}

void sortEntries(const QString &order, std::vector<Entry> &entries)
{
    if (!isOrder(order))
        return;
    struct Keyed
    {
        QString key;
        qsizetype index;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        keyed.push_back({keyOf(order, entries[i]), qsizetype(i)});
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
        return QString::compare(a.key, b.key, Qt::CaseInsensitive) < 0;
    });
    std::vector<Entry> sorted;
    sorted.reserve(entries.size());
    for (const Keyed &k : keyed)
        sorted.push_back(std::move(entries[size_t(k.index)]));
    entries = std::move(sorted);
}

} // namespace SortKeys
