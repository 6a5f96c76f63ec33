#pragma once
// The real language chooser: shows TechLan modally over the given window.

#include "core/Services.h"

class QWidget;

class TechLanChooser : public LanguageChooserService
{
public:
    explicit TechLanChooser(QWidget *owner = nullptr)
        : m_owner(owner)
    {
    }
    // The window the chooser is centred over once it exists.
    void setOwner(QWidget *owner) { m_owner = owner; }
    QString chooseLanguage(const QString &currentCode) override;

private:
    QWidget *m_owner;
};
