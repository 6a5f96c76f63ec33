#pragma once
// The real file dialog behind "Save as", over clsCommonDialog.

#include "core/Services.h"

class QWidget;

class CommonFileDialog : public FileDialogService
{
public:
    explicit CommonFileDialog(QWidget *owner = nullptr)
        : m_owner(owner)
    {
    }
    void setOwner(QWidget *owner) { m_owner = owner; }
    bool ShowOpen(FileDialogRequest &request) override;

private:
    QWidget *m_owner;
};
