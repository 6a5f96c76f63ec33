#pragma once
// The real folder picker service over BrowseForFolder.

#include "core/Services.h"

class QWidget;

class FolderPicker : public FolderPickerService
{
public:
    explicit FolderPicker(QWidget *owner = nullptr)
        : m_owner(owner)
    {
    }
    void setOwner(QWidget *owner) { m_owner = owner; }
    QString pickFolder(const QString &title, const QString &startFolder) override;

private:
    QWidget *m_owner;
};
