#include "modBrowseForFolder.h"

#include <QDir>
#include <QFileDialog>

QString BrowseForFolder(const QString &startFolder, QWidget *owner, const QString &title)
{
    // A start folder that does not exist is simply not preselected.
    const QString start = QDir(startFolder).exists() ? startFolder : QString();
    return QFileDialog::getExistingDirectory(owner, title, start, QFileDialog::ShowDirsOnly);
}
