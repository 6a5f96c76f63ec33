#include "FolderPicker.h"

#include "modBrowseForFolder.h"

QString FolderPicker::pickFolder(const QString &title, const QString &startFolder)
{
    return BrowseForFolder(startFolder, m_owner, title);
}
