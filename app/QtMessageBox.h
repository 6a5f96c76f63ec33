#pragma once
// Message boxes with the program's flags, shown with QMessageBox under the title " Tonvera".

#include "core/Services.h"

class QWidget;

class QtMessageBox : public MessageBoxService
{
public:
    explicit QtMessageBox(QWidget *owner = nullptr)
        : m_owner(owner)
    {
    }
    void setOwner(QWidget *owner) { m_owner = owner; }
    int show(const QString &text, int flags) override;

private:
    QWidget *m_owner;
};
