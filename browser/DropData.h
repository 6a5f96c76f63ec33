#pragma once
// Files and folders dropped from a file manager: the first local file of a URL list, otherwise
// a path given as text (a "file://" URL or a plain path, a leading "FILE:" removed).

#include <QString>

class QMimeData;

namespace DropData {

// The dropped path; "" when the data holds nothing usable.
QString pathOf(const QMimeData &data);

// True when pathOf would find a path (used to accept the drag).
bool canTake(const QMimeData &data);

enum class Action {
    Nothing, // names nothing that exists
    OpenFolder, // a folder (or a network path): open it and re-read it
    OpenFileFolder, // a file in another folder: open that folder
    CurrentFileOnly // a file of the current folder: it only becomes the current file
};

// What a drop of path does while currentFolder is shown.
Action actionFor(const QString &path, const QString &currentFolder);

} // namespace DropData
