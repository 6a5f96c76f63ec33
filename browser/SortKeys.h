#pragma once
// The orders of the input list: by name ("A"), extension ("E"), date and time ("D") or size
// ("S"). Each line gets a text key and the keys are ordered case-insensitively, ascending.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

namespace SortKeys {

// What the orders need to know about one listed file.
struct Entry
{
    QString line; // the list line
    QString path; // its full path
    qint64 size = 0; // file length in bytes
    QDateTime modified;
};

// The extension key: the last 4 characters of the path, reduced to the part after a "." when
// they hold one, left-padded with blanks to 4 characters (" MP3").
QString extensionKey(const QString &path);

// The text key of one entry for an order; the line itself for "A".
QString keyOf(const QString &order, const Entry &entry);

// The codes of the four orders, in the order of the sort menu (name, extension, date, size).
inline constexpr const char *Orders[] = {"A", "E", "D", "S"};

// True for the four orders; any other text leaves a list as it was filled.
bool isOrder(const QString &order);

// Reorders entries for the order (stable, case-insensitive ascending keys).
void sortEntries(const QString &order, std::vector<Entry> &entries);

} // namespace SortKeys
