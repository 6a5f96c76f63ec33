#include "TechLanChooser.h"

#include "TechLan.h"

QString TechLanChooser::chooseLanguage(const QString &currentCode)
{
    TechLan dialog(currentCode, m_owner);
    dialog.exec();
    return dialog.languageCode();
}
