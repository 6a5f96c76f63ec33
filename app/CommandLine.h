#pragma once
// What the command line asks for: the help text, the version, or a start on a folder or file.
// Read twice: on the raw arguments before Qt starts, so that --help and --version need no
// display or sound server, and on what Qt leaves after taking its own options (-style, ...).

#include <QString>
#include <QStringList>

struct CommandLine
{
    enum Action { Start, Help, Version, Error };
    Action action = Start;
    QString path; // Start: the folder or file to open; "" for the folder of the last run
    QString error; // Error: what was wrong, for standard error
};

// arguments: without the program's name. --help and --version win over anything else, so that
// they answer even beside an option only Qt knows. "--" ends the options; the first path counts.
CommandLine ParseCommandLine(const QStringList &arguments);

QString UsageText();
QString VersionText();
