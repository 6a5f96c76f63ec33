#include "browser/TypeFilter.h"

TypeFilter TypeFilterOf(const QString &entryText)
{
    auto has = [&entryText](const char *code) {
        return entryText.contains(QLatin1String(code));
    };
    if (has("ALLSUP"))
        return {{QStringLiteral("*.WAV"), QStringLiteral("*.MP3"), QStringLiteral("*.WMA")}, true};
    if (has("MP3;WAV"))
        return {{QStringLiteral("*.MP3"), QStringLiteral("*.WAV")}, true};
    if (has("MP3"))
        return {{QStringLiteral("*.MP3")}, true};
    if (has("WAV"))
        return {{QStringLiteral("*.WAV")}, true};
    if (has("WMA"))
        return {{QStringLiteral("*.WMA")}, false};
    return {{}, false};
}

QStringList TypeBoxEntries(const QString &supportedWord)
{
    const QString blanks16(16, QLatin1Char(' '));
    return {QStringLiteral("MP3"), QStringLiteral("WAV"),
        QStringLiteral("MP3, WAV") + blanks16 + QStringLiteral("MP3;WAV"),
        QStringLiteral("WM Audio") + blanks16 + QStringLiteral("WMA"),
        supportedWord + QString(15, QLatin1Char(' ')) + QStringLiteral("ALLSUP")};
}

QString VisibleTypeText(const QString &entryText)
{
    const qsizetype run = entryText.indexOf(QLatin1String("  "));
    return run < 0 ? entryText : entryText.left(run);
}
