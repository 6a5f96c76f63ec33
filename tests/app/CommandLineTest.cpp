#include "CommandLine.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

TEST(CommandLine, Reads)
{
    const std::tuple<QStringList, CommandLine::Action, QString> cases[] = {
        {{}, CommandLine::Start, ""},
        {{"/music/a b.mp3"}, CommandLine::Start, "/music/a b.mp3"},
        {{"one", "two"}, CommandLine::Start, "one"},
        {{"-h"}, CommandLine::Help, ""},
        // Before Qt has taken its options, one it knows must not hide --version.
        {{"-platform", "xcb", "--version"}, CommandLine::Version, "xcb"},
        {{"--bogus", "--help"}, CommandLine::Help, ""},
        {{"--version", "--help"}, CommandLine::Help, ""},
        {{"song.mp3", "--bogus"}, CommandLine::Error, "song.mp3"},
        {{"--", "--help"}, CommandLine::Start, "--help"},
    };
    for (const auto &[arguments, action, path] : cases) {
        const CommandLine line = ParseCommandLine(arguments);
        const std::string row = arguments.join(' ').toStdString();
        EXPECT_EQ(line.action, action) << row;
        EXPECT_EQ(line.path, path) << row;
        EXPECT_TRUE(action != CommandLine::Error || !line.error.isEmpty()) << row;
    }
}

// The built program in an environment without a display or a sound server: xcb with no display
// aborts any program that gets as far as creating its QApplication; offscreen would show the
// window.
TEST(CommandLine, TheProgramAnswersBeforeAnyWindow)
{
    // the argument and the platform; the exit code, what the output starts with (all of it for
    // the version), what the error output says
    const std::tuple<QString, QString, int, QString, QStringList> cases[] = {
        {"--version", "xcb", 0, "Tonvera " TONVERA_VERSION "\n", {}},
        {"--help", "xcb", 0, "Usage: tonvera [FOLDER | FILE]\n", {"--version"}},
        {"--bogus", "offscreen", 2, "", {"unknown option --bogus", "tonvera --help"}},
    };
    for (const auto &[argument, platform, exitCode, output, errors] : cases) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"})
            env.remove(name);
        env.insert("QT_QPA_PLATFORM", platform);
        env.insert("PULSE_SERVER", "unix:/nonexistent/pulse");
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(TONVERA_BIN_DIR "/tonvera", {argument});
        ASSERT_TRUE(program.waitForFinished(30000)) << argument.toStdString();
        const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(program.readAllStandardError());
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << argument.toStdString();
        EXPECT_EQ(program.exitCode(), exitCode) << qPrintable(err);
        EXPECT_TRUE(exitCode == 0 ? out.startsWith(output) : out.isEmpty()) << qPrintable(out);
        EXPECT_TRUE(argument != "--version" || out == output) << qPrintable(out);
        // The help names --version in the output; a mistake is said in the error output.
        for (const QString &text : errors)
            EXPECT_TRUE((exitCode == 0 ? out : err).contains(text)) << qPrintable(out + err);
    }
}

} // namespace
