#include "core/texts/LocalText.h"

#include "core/texts/ProfileText.h"

#include <QFile>
#include <string>

QString LocalText(const AppState &state, int number, const QString &english)
{
    if (state.MessageFilePath.isEmpty() || state.MessageSection.isEmpty())
        return english;
    const std::string text = ReadProfileText(state.MessageSection.toStdString(),
        std::to_string(number), {}, QFile::encodeName(state.MessageFilePath).toStdString());
    return text.empty() ? english : QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QLocale InterfaceLocale(const AppState &state)
{
    const QLocale::Language language
        = state.LanguageCode == QLatin1String("IT") ? QLocale::Italian : QLocale::English;
    const QLocale system = QLocale::system();
    return system.language() == language ? system : QLocale(language);
}
