#include "conversion/ConversionRun.h"
#include "core/PathHelpers.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using State = ConversionRun::State;
using Check = ConversionRun::Check;

namespace {

QStringList states(const ConversionRun &run)
{
    static const char *const names[]
        = {"waiting", "passed", "flight", "converted", "skipped", "failed"};
    QStringList out;
    for (const ConversionRun::File &file : run.files())
        out << names[int(file.state)];
    return out;
}

} // namespace

TEST(ConversionRun, TakesWhatTheTickedOutputsCanMake)
{
    const QStringList folder = {"/m/01 old.wma", "/m/02 a.mp3", "/m/03 b.WAV", "/m/04 c.wav"};
    // options (wma, wav, tag-only, one file), paths, files taken, their states
    const std::tuple<ConversionRun::Options, QStringList, int, QString> cases[] = {
        {{true, false, false, false}, folder, 3, "passed waiting waiting waiting"},
        {{false, true, false, false}, folder, 1, "passed waiting passed passed"},
        {{false, false, false, false}, folder, 0, "passed passed passed passed"},
        // One file: a WMA is encoded again when WMA output is wanted.
        {{true, false, false, true}, {"/m/01 old.wma"}, 1, "waiting"},
        {{false, true, false, true}, {"/m/01 old.wma"}, 0, "passed"},
        // A tag-only run takes every type.
        {{false, false, true, false}, folder, 4, "waiting waiting waiting waiting"},
    };
    for (const auto &[options, paths, count, expected] : cases) {
        const ConversionRun run(paths, options);
        EXPECT_EQ(run.count(), count) << expected.toStdString();
        EXPECT_EQ(states(run).join(' '), expected);
        EXPECT_EQ(run.files()[0].type, FileTypeOf(paths[0]));
    }
}

TEST(ConversionRun, GoesThroughItsFilesInOrderAndSaysWhetherItCompleted)
{
    ConversionRun run({"/m/a.mp3", "/m/old.wma", "/m/b.wav", "/m/c.mp3"}, {});
    ASSERT_EQ(run.count(), 3);
    EXPECT_EQ(run.takeNext(), 0);
    EXPECT_FALSE(run.completed()); // one in flight
    run.finish(0, State::Converted);
    EXPECT_EQ(run.takeNext(), 2); // the WMA is passed over
    run.finish(2, State::Skipped);
    EXPECT_EQ(run.done(), 2);
    EXPECT_EQ(run.taken(), 2);
    EXPECT_EQ(run.takeNext(), 3);
    run.finish(3, State::Converted);
    EXPECT_EQ(run.takeNext(), -1);
    EXPECT_TRUE(run.completed()); // skipped by an answer still completes
    ConversionRun failed({"/m/a.mp3", "/m/b.mp3"}, {});
    failed.finish(failed.takeNext(), State::Failed);
    EXPECT_FALSE(failed.completed());
    EXPECT_EQ(failed.done(), 1);
    ConversionRun stopped({"/m/a.mp3", "/m/b.mp3"}, {});
    stopped.finish(stopped.takeNext(), State::Converted);
    EXPECT_FALSE(stopped.completed()); // b never ran
}

TEST(ConversionRun, ExistingAndSharedOutputsAreAskedAbout)
{
    QTemporaryDir out;
    const QString existing = out.filePath("x.wma");
    QFile(existing).open(QIODevice::WriteOnly);
    const QString free = out.filePath("y.wma"), other = out.filePath("z.wma");
    const QString dangling = out.filePath("link.wma");
    ASSERT_TRUE(QFile::link(out.filePath("gone"), dangling));
    // One file: every existing output is asked about by itself.
    ConversionRun one({"/m/x.mp3"}, {true, false, false, true});
    EXPECT_EQ(one.checkOutputs({free}), Check::Free);
    EXPECT_EQ(one.checkOutputs({existing}), Check::AskFile);
    EXPECT_EQ(one.checkOutputs({free, existing}), Check::AskFile);
    EXPECT_EQ(one.checkOutputs({dangling}), Check::AskFile); // a link is a name taken
    // Several files: the first existing output asks for the run; the answer holds after.
    ConversionRun yes({"/m/x.mp3", "/m/x.wav", "/m/y.mp3"}, {});
    EXPECT_EQ(yes.checkOutputs({existing}), Check::AskRun);
    yes.answerRun(true);
    EXPECT_EQ(yes.checkOutputs({existing}), Check::Replace);
    yes.claim({existing});
    // The Yes was about the files there before: another file of the run is asked about alone.
    EXPECT_EQ(yes.checkOutputs({existing}), Check::AskFile);
    EXPECT_EQ(yes.checkOutputs({free}), Check::Free);
    ConversionRun no({"/m/x.mp3", "/m/z.mp3", "/m/z.wav"}, {});
    no.claim({other});
    EXPECT_EQ(no.checkOutputs({other}), Check::AskFile); // unasked: this file alone
    no.answerRun(false);
    EXPECT_EQ(no.checkOutputs({existing}), Check::Keep);
    EXPECT_EQ(no.checkOutputs({other}), Check::Keep);
    EXPECT_EQ(no.checkOutputs({free}), Check::Free);
}
