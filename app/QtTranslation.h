#pragma once
// Qt's own texts (standard buttons, file dialogs, context menus of text fields) in the interface
// language, from the translations Qt ships.

#include <QString>
#include <memory>

class QTranslator;

class QtTranslation
{
public:
    QtTranslation();
    ~QtTranslation();

    // "IT" loads Qt's Italian texts; any other code leaves Qt's own English.
    void use(const QString &languageCode);

private:
    std::unique_ptr<QTranslator> m_translator;
};
