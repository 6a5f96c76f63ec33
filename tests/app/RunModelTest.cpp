// Runs compared with a small model of the rules: MP3, WAV and WMA files whose outputs collide,
// existing outputs (the user's own files among them), marks or one current file, the answers to
// the questions and the names from the tag editor. Some runs are picked by hand, the others made
// from seeds. The real queue converts with the real helpers, one file at a time and three at
// once; the folder afterwards must be what the model says, and so must the questions and the end.
#include "Ffprobe.h"
#include "SilentWav.h"
#include "WindowFixture.h"

#include "core/StatusLine.h"

#include <QLineEdit>

#include <random>

namespace {

const QString Data = QStringLiteral(TONVERA_TEST_DATA);
constexpr int Yes = 6, No = 7, Cancel = 2;

struct Source
{
    QString name;
    double seconds = 0; // an MP3 of 1.54 s is mono.mp3, else tagged.mp3 (2.04 s)
    QByteArray bytes = {}; // a file of the user's that is no audio
    QString type() const { return name.section('.', -1).toUpper(); }
};

// A folder (its files in list order) and what the user does: marks (or else a current file),
// the tag editor, the answers to the questions, the names typed in the editor ("" keeps the
// name, "-" cancels).
struct RunCase
{
    std::string label;
    QList<Source> files;
    QList<int> marked;
    int current = 0;
    bool editor = false;
    QList<int> answers;
    QStringList editorNames = {};
};

// What the model expects of a run.
struct Expected
{
    QMap<QString, QString> disk; // file name -> "old" or the name of the source it came from
    enum { Completed, Stopped, Cancelled } end = Completed;
    QString status;
    QStringList questions; // the start of each question asked, in order
    int count = 0; // files the run counts
    int edits = 0; // times the tag editor shows
};

Expected model(const RunCase &run, const QString &folder)
{
    Expected model;
    for (const Source &file : run.files)
        model.disk[file.name] = "old";
    const bool oneFile = run.marked.isEmpty();
    const QList<int> taken = oneFile ? QList<int> {run.current} : run.marked;
    for (int i : taken)
        model.count += oneFile || run.files[i].type() != "WMA" ? 1 : 0;
    QSet<QString> claimed;
    enum { Unasked, Replace, Keep } runAnswer = Unasked;
    QList<int> answers = run.answers;
    QStringList names = run.editorNames;
    bool lastSkipped = true;
    QString lastOutput;
    for (int i : taken) {
        const Source &file = run.files[i];
        // A WMA file marked among others is passed over.
        if (!oneFile && file.type() == "WMA")
            continue;
        QString base = file.name.section('.', 0, -2);
        if (run.editor) {
            const QString named = names.takeFirst();
            ++model.edits;
            if (named == "-") {
                model.end = Expected::Cancelled;
                return model;
            }
            if (!named.isEmpty())
                base = named;
        }
        const QString output = base + ".wma";
        const bool exists = model.disk.contains(output), shared = claimed.contains(output);
        bool write = true;
        if (exists || shared) {
            // One file, or an output this run wrote already, is asked about on its own; a run
            // of several asks once for all the files that exist.
            if (model.count < 2 || (shared && runAnswer != Keep)) {
                model.questions << "file: " + folder + "/" + output;
                write = answers.takeFirst() == Yes;
            } else if (runAnswer == Unasked) {
                model.questions << "SOME FILES ARE ALREADY EXISTING";
                const int answer = answers.takeFirst();
                if (answer == Cancel) {
                    model.end = Expected::Stopped;
                    return model;
                }
                runAnswer = answer == Yes ? Replace : Keep;
                write = answer == Yes;
            } else {
                write = runAnswer == Replace;
            }
        }
        lastSkipped = !write;
        if (!write)
            continue;
        claimed.insert(output);
        if (file.type() == "WMA" && exists) // the earlier output stays beside the new one
            model.disk[output + ".tmp.wma"] = model.disk[output];
        model.disk[output] = file.name;
        lastOutput = output;
    }
    model.status = lastSkipped ? "       --- " : "      Conversion completed - File: " + lastOutput;
    return model;
}

// A folder of three names in up to three types each (every WAV of a length of its own, shorter
// than any MP3), random marks, answers and names.
RunCase randomRun(int seed)
{
    std::mt19937 rng(seed);
    const auto pick = [&rng](int n) {
        return std::uniform_int_distribution<int>(0, n - 1)(rng);
    };
    const auto chance = [&pick](int percent) {
        return pick(100) < percent;
    };
    RunCase run;
    run.label = "seed " + std::to_string(seed);
    double wavSeconds = 0.3;
    for (const char *base : {"a", "b", "c"}) {
        if (chance(60))
            run.files.append({QString(base) + ".mp3", chance(50) ? 1.54 : 2.04});
        if (chance(50)) {
            run.files.append({QString(base) + ".wav", wavSeconds});
            wavSeconds += 0.2;
        }
        if (chance(40))
            run.files.append({QString(base) + ".wma", 2.0});
    }
    std::sort(run.files.begin(), run.files.end(),
        [](const Source &x, const Source &y) { return x.name < y.name; });
    for (int i = 0; i < run.files.size(); ++i)
        if (chance(70))
            run.marked << i;
    run.current = pick(std::max(1, int(run.files.size())));
    run.editor = chance(50);
    for (int i = 0; i < 8; ++i)
        run.answers << (chance(20) ? Cancel : chance(50) ? Yes : No);
    for (int i = 0; i < 8; ++i)
        run.editorNames << (chance(8) ? QString("-") : chance(50) ? QString("abc"[pick(3)]) : "");
    return run;
}

const QByteArray Mine = "the user's own file";
const QList<Source> Batch
    = {{"a.mp3", 2.04}, {"a.wma", 0, Mine}, {"b.wav", 1.0}, {"b.wma", 0, Mine}, {"c.mp3", 1.54}};

// Runs picked by hand for the questions a user meets most.
const QList<RunCase> Picked = {
    {"one file onto the user's file, No", {{"b.wav", 1.0}, {"b.wma", 0, Mine}}, {}, 0, false, {No}},
    {"one file onto the user's file, Yes", {{"b.wav", 1.0}, {"b.wma", 0, Mine}}, {}, 0, false,
        {Yes}},
    // The run's answer holds for the second existing output too.
    {"a batch onto existing outputs, Cancel", Batch, {0, 2, 4}, 0, false, {Cancel}},
    {"a batch onto existing outputs, No", Batch, {0, 2, 4}, 0, false, {No}},
    {"a batch onto existing outputs, Yes", Batch, {0, 2, 4}, 0, false, {Yes}},
    // The questions name the outputs as the editor names them.
    {"names from the editor onto the user's file",
        {{"a.mp3", 2.04}, {"b.mp3", 1.54}, {"song a.wma", 0, Mine}}, {0, 1}, 0, true, {No},
        {"song a", "song a"}},
    {"two sources of one output", {{"x.mp3", 2.04}, {"x.wav", 1.0}}, {0, 1}, 0, false, {No}},
    {"a WMA clicked alone is encoded again", {{"clip.wma", 2.0}}, {}, 0, false, {Yes}},
    // Marked among others, WMA files are passed over whatever their place; names with blanks,
    // quotes and "$" reach the helpers whole.
    {"a marked batch",
        {{"01 old.wma", 2.0}, {"02 a song.mp3", 2.04}, {"03 b.mp3", 1.54},
            {"04 'quoted' $x.wav", 1.0}},
        {0, 1, 2, 3}, 0, false, {}},
};

class RunModelTest : public WindowFixture
{
protected:
    void check(const RunCase &run, int atOnce, const QString &folder)
    {
        SCOPED_TRACE(run.label + ", files at once " + std::to_string(atOnce));
        linkHelpers();
        QDir().mkpath(folder);
        QMap<QString, QByteArray> before;
        for (const Source &file : run.files) {
            const QString at = folder + "/" + file.name;
            if (!file.bytes.isEmpty())
                writeFile(at, file.bytes);
            else if (file.type() == "WAV")
                ASSERT_TRUE(writeSilentWav(at, file.seconds));
            else
                ASSERT_TRUE(QFile::copy(Data
                        + (file.type() == "WMA"    ? "/browser/clip.wma"
                                : file.seconds < 2 ? "/codecs/mono.mp3"
                                                   : "/codecs/tagged.mp3"),
                    at));
            before[file.name] = readAll(at);
        }
        const Expected expected = model(run, folder);

        storeSettings({{"Language", "EN"}, {"Path", folder}, {"iTyp", "4"},
            {"FilesAtOnce", QString::number(atOnce)}});
        ASSERT_TRUE(start());
        ui().chkWMA->setChecked(true);
        ui().ChkTag->setChecked(run.editor);
        ASSERT_TRUE(QTest::qWaitFor([&] { return ui().ListInput->count() == run.files.size(); }));
        ui().ListInput->setCurrentRow(run.current, QItemSelectionModel::ClearAndSelect);
        ui().ListInput->clearSelection();
        for (int i : run.marked)
            ui().ListInput->item(i)->setSelected(true);
        messages.texts.clear();
        messages.answers = run.answers;
        QStringList names = run.editorNames;
        std::function<void(QWidget *)> edit = [&](QWidget *dialog) {
            const QString named = names.takeFirst();
            if (named == "-") {
                dialog->findChild<QAbstractButton *>("CmdCancel")->click();
                return;
            }
            dialog->findChild<QLineEdit *>("txtTit")->setText(state.CurrentFile);
            if (!named.isEmpty())
                dialog->findChild<QLineEdit *>("txtName")->setText(named);
            dialog->findChild<QAbstractButton *>("cmdGrab")->click();
            expectModal(edit);
        };
        expectModal(edit);
        window->conversion().cmdGrab_Click();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !window->conversion().isBusy(); }, 60000));
        expectModal({});
        EXPECT_EQ(run.editorNames.size() - names.size(), expected.edits);

        // The folder, file by file: the user's files as they were, each output from its source.
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).join(", ").toStdString(),
            QStringList(expected.disk.keys()).join(", ").toStdString());
        for (auto it = expected.disk.begin(); it != expected.disk.end(); ++it) {
            const QString file = folder + "/" + it.key();
            if (it.value() == "old") {
                EXPECT_EQ(readAll(file), before.value(it.key().section(".tmp.wma", 0, 0)))
                    << it.key().toStdString();
                continue;
            }
            const Source &source = *std::find_if(run.files.begin(), run.files.end(),
                [&](const Source &s) { return s.name == it.value(); });
            const QMap<QString, QString> format = ffprobeFormat(file);
            if (run.editor)
                EXPECT_EQ(format.value("tag:title"), source.name) << it.key().toStdString();
            else
                EXPECT_NEAR(format.value("duration", "-1").toDouble(), source.seconds, 0.15)
                    << it.key().toStdString() << " from " << source.name.toStdString();
        }
        // The questions asked, and the end.
        ASSERT_EQ(messages.texts.size(), expected.questions.size())
            << messages.texts.join(" | ").toStdString()
            << "\nexpected: " << expected.questions.join(" | ").toStdString();
        for (int i = 0; i < expected.questions.size(); ++i)
            EXPECT_TRUE(messages.texts[i].startsWith(expected.questions[i]))
                << messages.texts[i].toStdString();
        const QString status = ui().LabStatus->text();
        EXPECT_EQ(window->statusLine().dotShown(), expected.end != Expected::Cancelled);
        EXPECT_EQ(
            ui().ListOutput->count(), expected.disk.size() - expected.disk.keys("old").size());
        EXPECT_TRUE(ui().CboURL->isEnabled());
        EXPECT_FALSE(ui().cmdBrowse->isEnabled()); // the output stays "Current Folder"
        if (expected.end == Expected::Completed) {
            EXPECT_EQ(status, expected.status);
            EXPECT_EQ(ui().LabProgrNum->text(), QString("%1/%1").arg(expected.count));
            EXPECT_TRUE(ui().ListInput->selectedItems().isEmpty()); // marks cleared
        } else if (expected.end == Expected::Stopped) {
            EXPECT_TRUE(status.contains("STOPPED")) << status.toStdString();
        }
        closeWindow();
    }
};

TEST_F(RunModelTest, RunsPickedByHand)
{
    for (int atOnce : {1, 3})
        for (int i = 0; i < Picked.size() && !HasFailure(); ++i)
            check(Picked[i], atOnce, path(QString("picked%1-%2").arg(atOnce).arg(i)));
}

// The same folder and the same answers give the same result, one file at a time or three at
// once.
TEST_F(RunModelTest, SeededRuns)
{
    for (int seed = 1; seed <= 24 && !HasFailure(); ++seed) {
        const RunCase run = randomRun(seed);
        if (run.files.isEmpty())
            continue;
        for (int atOnce : {1, 3})
            check(run, atOnce, path(QString("seed%1-%2").arg(seed).arg(atOnce)));
    }
}

} // namespace
