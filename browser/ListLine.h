#pragma once
// The fixed column layout of the input and output list lines: the file name in columns 1-40,
// the size text ending in column 48 (input list) or 50 (output list), and the full path from
// column 60. Only name and size are visible; everything that needs the file reads the path back.

#include <QString>

class QListWidget;
class QListWidgetItem;

namespace ListLine {

constexpr int NameColumns = 40;
constexpr int InputSizeEnd = 48;
constexpr int OutputSizeEnd = 50;
constexpr int PathColumn = 60;

// Item data role under which list entries keep their exact path.
constexpr int PathRole = Qt::UserRole + 1;

// Builds one line: the name cut to 40 characters followed by (path length + 100) blanks, with
// " " + sizeText ending at column sizeEnd and the path written from column 60.
QString make(const QString &path, const QString &sizeText, int sizeEnd);

// The path written into a line: everything after the first 59 characters, without the blanks
// around it.
QString pathOf(const QString &line);

// text without its leading and trailing blanks (other white space is kept).
QString trimBlanks(const QString &text);

// The file-name part of a path: what follows its last "/".
QString fileNameOf(const QString &path);

} // namespace ListLine

// Adds the line of path to list (ListInput or ListOutput, told apart by sizeEnd). For the output
// list it first removes the entry of the same file, so a file is listed there once.
// The exact path also travels with the item (ListLine::PathRole), so names ending in blanks
// survive. Implemented in Playlist.cpp (part of tonvera_browser, which links Qt Widgets).
void Aggiungi_Playlist(
    QListWidget *list, const QString &path, const QString &sizeText, int sizeEnd);

// Appends a ready-made line with its path (and the whole name as tooltip when the name column
// cuts it). Returns the new entry.
QListWidgetItem *AddListLine(QListWidget *list, const QString &line, const QString &path);

// The path of a list entry: the stored path, or the one read back from its line.
QString PathOfItem(const QListWidgetItem *item);
