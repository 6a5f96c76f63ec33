#pragma once
// The folder picker: shows the folder chooser starting at startFolder (when it exists) and
// returns the chosen folder, or "" when the user cancelled.

#include <QString>

class QWidget;

QString BrowseForFolder(const QString &startFolder, QWidget *owner, const QString &title);
