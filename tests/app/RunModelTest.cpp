// Runs over seeded random folders, compared with a small model of the rules: MP3, WAV and WMA
// files whose outputs collide, existing outputs, random marks, random answers to the questions
// and random names from the tag editor. The real queue converts with the real helpers; the
// folder afterwards must be what the model says, and so must the status.
#include "Ffprobe.h"
#include "SilentWav.h"
#include "WindowFixture.h"

#include "browser/ListLine.h"
#include "conversion/ConversionQueue.h"
#include "core/StatusLine.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <random>

namespace {

const QString Data = QStringLiteral(TONVERA_TEST_DATA);
constexpr int Yes = 6, No = 7, Cancel = 2;

struct Source
{
    QString name, type;
    double seconds = 0;
};

// What the model expects of one run.
struct Expected
{
    QMap<QString, QString> disk; // file name -> "old" or the name of the source it came from
    enum { Completed, Stopped, Cancelled } end = Completed;
    QString status;
    QStringList questions; // the start of each question asked, in order
};

class RunModelTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        linkHelpers();
    }

    std::mt19937 rng;
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    bool chance(int percent) { return pick(100) < percent; }

    // A folder of three names in up to three types each; some WMA files are there already.
    QList<Source> makeFolder(const QString &folder)
    {
        QList<Source> files;
        double wavSeconds = 0.3;
        for (const char *base : {"a", "b", "c"}) {
            if (chance(60)) {
                const bool mono = chance(50);
                QFile::copy(Data + (mono ? "/codecs/mono.mp3" : "/codecs/tagged.mp3"),
                    folder + "/" + base + ".mp3");
                files.append({QString(base) + ".mp3", "MP3", mono ? 1.54 : 2.04});
            }
            if (chance(50)) {
                // Every WAV has a length of its own, shorter than any MP3.
                writeSilentWav(folder + "/" + base + ".wav", wavSeconds);
                files.append({QString(base) + ".wav", "WAV", wavSeconds});
                wavSeconds += 0.2;
            }
            if (chance(40)) {
                QFile::copy(Data + "/browser/clip.wma", folder + "/" + base + ".wma");
                files.append({QString(base) + ".wma", "WMA", 2.0});
            }
        }
        std::sort(files.begin(), files.end(),
            [](const Source &x, const Source &y) { return x.name < y.name; });
        return files;
    }

    static QByteArray bytesOf(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static bool isOutputOf(const QString &path, const Source &source, bool titled)
    {
        const QMap<QString, QString> format = ffprobeFormat(path);
        if (titled)
            return format.value("tag:title") == source.name;
        return std::abs(format.value("duration", "-1").toDouble() - source.seconds) < 0.15;
    }
};

} // namespace

// One file at a time and three at once: the same folder and the same answers give the same
// result on disk, the same questions and the same end.
TEST_F(RunModelTest, TheFolderAfterARunIsWhatTheRulesSay)
{
    for (int run = 0; run < 48; ++run) {
        const int seed = run % 24 + 1;
        const int atOnce = run < 24 ? 1 : 3;
        SCOPED_TRACE("seed " + std::to_string(seed) + ", files at once " + std::to_string(atOnce));
        rng.seed(seed);
        const QString folder = path("run" + QString::number(run));
        QDir().mkpath(folder);
        const QList<Source> files = makeFolder(folder);
        if (files.isEmpty())
            continue;
        QMap<QString, QByteArray> before;
        for (const Source &file : files)
            before[file.name] = bytesOf(folder + "/" + file.name);

        // The user's choices: marks (or one current file), the editor, the answers.
        QList<int> marked;
        for (int i = 0; i < files.size(); ++i)
            if (chance(70))
                marked << i;
        const int current = pick(int(files.size()));
        const bool editor = chance(50);
        QList<int> answers;
        for (int i = 0; i < 8; ++i)
            answers << (chance(20) ? Cancel : chance(50) ? Yes : No);
        QList<QString> editorNames; // "" keeps the name, "-" cancels
        for (int i = 0; i < 8; ++i)
            editorNames << (chance(8) ? QString("-") : chance(50) ? QString("abc"[pick(3)]) : "");

        // The model.
        Expected model;
        for (const Source &file : files)
            model.disk[file.name] = "old";
        const bool oneFile = marked.isEmpty();
        const QList<int> taken = oneFile ? QList<int> {current} : marked;
        int count = 0;
        for (int i : taken)
            count += oneFile || files[i].type != "WMA" ? 1 : 0;
        QSet<QString> claimed;
        enum { Unasked, Replace, Keep } runAnswer = Unasked;
        QList<int> answersLeft = answers;
        QList<QString> namesLeft = editorNames;
        bool lastSkipped = true;
        QString lastOutput;
        for (int i : taken) {
            const Source &file = files[i];
            if (!oneFile && file.type == "WMA")
                continue;
            QString base = file.name.left(1);
            if (editor) {
                const QString named = namesLeft.takeFirst();
                if (named == "-") {
                    model.end = Expected::Cancelled;
                    break;
                }
                if (!named.isEmpty())
                    base = named;
            }
            const QString output = base + ".wma";
            const bool exists = model.disk.contains(output), shared = claimed.contains(output);
            bool write = true;
            if (exists || shared) {
                if (count < 2 || (shared && runAnswer != Keep)) {
                    model.questions << "file: " + folder + "/" + output;
                    write = answersLeft.takeFirst() == Yes;
                } else if (runAnswer == Unasked) {
                    model.questions << "SOME FILES ARE ALREADY EXISTING";
                    const int answer = answersLeft.takeFirst();
                    if (answer == Cancel) {
                        model.end = Expected::Stopped;
                        break;
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
            if (file.type == "WMA" && exists) // the earlier output stays beside the new one
                model.disk[output + ".tmp.wma"] = model.disk[output];
            model.disk[output] = file.name;
            lastOutput = output;
        }
        if (model.end == Expected::Completed)
            model.status
                = lastSkipped ? "       --- " : "      Conversion completed - File: " + lastOutput;

        // The run in the window.
        storeSettings({{"Language", "EN"}, {"Path", folder}, {"iTyp", "4"},
            {"FilesAtOnce", QString::number(atOnce)}});
        state = AppState(); // as a new start of the program
        ASSERT_TRUE(start());
        ui().chkWMA->setChecked(true);
        ui().ChkTag->setChecked(editor);
        ASSERT_TRUE(QTest::qWaitFor([&] { return ui().ListInput->count() == files.size(); }, 5000));
        ui().ListInput->setCurrentRow(current, QItemSelectionModel::ClearAndSelect);
        ui().ListInput->clearSelection();
        for (int i : marked)
            ui().ListInput->item(i)->setSelected(true);
        messages.texts.clear();
        messages.answers = answers;
        std::function<void(QWidget *)> edit = [&](QWidget *dialog) {
            const QString named = editorNames.takeFirst();
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

        // The folder, file by file.
        const QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        EXPECT_EQ(
            left.join(", ").toStdString(), QStringList(model.disk.keys()).join(", ").toStdString());
        for (auto it = model.disk.begin(); it != model.disk.end(); ++it) {
            const QString file = folder + "/" + it.key();
            if (it.value() == "old") {
                const QString original = it.key().section(".tmp.wma", 0, 0);
                EXPECT_EQ(bytesOf(file), before.value(original)) << it.key().toStdString();
                continue;
            }
            const auto source = std::find_if(
                files.begin(), files.end(), [&](const Source &s) { return s.name == it.value(); });
            EXPECT_TRUE(isOutputOf(file, *source, editor))
                << it.key().toStdString() << " from " << it.value().toStdString();
        }
        // The questions asked, and the end as the model says.
        ASSERT_EQ(messages.texts.join(" | ").count(" | "), model.questions.join(" | ").count(" | "))
            << messages.texts.join(" | ").toStdString()
            << "\nexpected: " << model.questions.join(" | ").toStdString();
        for (int i = 0; i < model.questions.size(); ++i)
            EXPECT_TRUE(messages.texts[i].startsWith(model.questions[i]))
                << messages.texts[i].toStdString();
        const QString status = ui().LabStatus->text();
        switch (model.end) {
        case Expected::Completed:
            EXPECT_EQ(status, model.status);
            EXPECT_TRUE(window->statusLine().dotShown());
            break;
        case Expected::Stopped:
            EXPECT_TRUE(status.contains("STOPPED")) << status.toStdString();
            EXPECT_TRUE(window->statusLine().dotShown());
            break;
        case Expected::Cancelled:
            EXPECT_FALSE(window->statusLine().dotShown());
            break;
        }
        closeWindow();
        if (HasFailure())
            break;
    }
}
