#include "CommandLine.h"

CommandLine ParseCommandLine(const QStringList &arguments)
{
    CommandLine line;
    bool optionsEnded = false;
    for (const QString &argument : arguments) {
        const bool isOption = !optionsEnded && argument.startsWith(QLatin1Char('-'))
            && argument != QLatin1String("-");
        if (!isOption) {
            if (line.path.isEmpty())
                line.path = argument;
        } else if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (argument == QLatin1String("-h") || argument == QLatin1String("--help")) {
            return {CommandLine::Help, {}, {}};
        } else if (argument == QLatin1String("--version")) {
            line.action = CommandLine::Version;
        } else if (line.error.isEmpty()) {
            line.error = QStringLiteral("unknown option %1").arg(argument);
        }
    }
    if (line.action == CommandLine::Start && !line.error.isEmpty())
        line.action = CommandLine::Error;
    return line;
}

QString UsageText()
{
    return QStringLiteral(
        "Usage: tonvera [FOLDER | FILE]\n"
        "Converts MP3 and WAV files to WMA.\n"
        "\n"
        "  FOLDER       open this folder\n"
        "  FILE         open the folder that holds this MP3, WAV or WMA file, on that file\n"
        "  -h, --help   show this help and exit\n"
        "  --version    show the version and exit\n"
        "\n"
        "Without an argument Tonvera opens the folder it showed when it was last closed.\n");
}

QString VersionText()
{
    return QStringLiteral("Tonvera " TONVERA_VERSION "\n");
}
