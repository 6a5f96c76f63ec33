#include "QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QtTranslation::QtTranslation() = default;

QtTranslation::~QtTranslation()
{
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
}

void QtTranslation::use(const QString &languageCode)
{
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    if (languageCode != QLatin1String("IT"))
        return;
    auto translator = std::make_unique<QTranslator>();
    // "qt" bundles the catalogues of every Qt module the program uses (qtbase, qtmultimedia).
    if (translator->load(QLocale(QLocale::Italian), QStringLiteral("qt"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator.get());
        m_translator = std::move(translator);
    }
}
