#include "dialogs/clsCommonDialog.h"

#include "GuiFixture.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

TEST(clsCommonDialog, FilterPairsBecomeNameFilters)
{
    EXPECT_EQ(clsCommonDialog::nameFilters("MP3 files|*.mp3|Audio|*.wav;*.wma"),
        QStringList({"MP3 files (*.mp3)", "Audio (*.wav *.wma)"}));
    EXPECT_EQ(clsCommonDialog::nameFilters("odd|*.mp3|dangling"), QStringList({"odd (*.mp3)"}));
    EXPECT_TRUE(clsCommonDialog::nameFilters("").isEmpty());
}

TEST(clsCommonDialog, ProposedNameIsCutTo255)
{
    EXPECT_EQ(clsCommonDialog::proposedName(QString(300, 'a')).size(), 255);
    EXPECT_EQ(clsCommonDialog::proposedName("song.wma"), "song.wma");
}

class ShowOpenTest : public GuiFixture
{
};

// The real dialog, accepted or cancelled as the user would, with the proposed name as it stands.
TEST_F(ShowOpenTest, ChosenOrCancelled)
{
    QFile existing(path("song.mp3"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();

    // How the dialog ends: its button, Cancel, or accepted with no file named at all (as a
    // desktop's dialog may end), which gives back the folder.
    enum class End { Button, Cancel, Bare };
    const struct
    {
        quint32 flags;
        QString proposed;
        End end;
        bool chosen;
        QFileDialog::AcceptMode mode;
    } cases[] = {
        // "Save as": a new name is taken although no such file exists yet, in save mode, which
        // a desktop's own dialog needs for that.
        {1028, "Copy of song.mp3", End::Button, true, QFileDialog::AcceptSave},
        {clsCommonDialog::OFN_FILEMUSTEXIST, "song.mp3", End::Button, true,
            QFileDialog::AcceptOpen},
        {1028, "Copy of song.mp3", End::Cancel, false, QFileDialog::AcceptSave},
        // The folder is no file to write: a failure, said as such.
        {1028, "", End::Bare, false, QFileDialog::AcceptSave},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.proposed.toStdString());
        clsCommonDialog dialog;
        dialog.InitDir = path("");
        dialog.Flags = c.flags;
        dialog.Filter = "*.mp3|*.mp3|All Files (*.*)|*.*";
        dialog.FilterIndex = 2;
        dialog.FileName = c.proposed;
        dialog.DialogTitle = "Make a Copy of current file ";
        expectModal([&](QWidget *modal) {
            auto *files = qobject_cast<QFileDialog *>(modal);
            ASSERT_NE(files, nullptr);
            EXPECT_EQ(files->acceptMode(), c.mode);
            // The caller asks before replacing, in its own words; the dialog must not as well.
            EXPECT_TRUE(files->testOption(QFileDialog::DontConfirmOverwrite));
            // Queued, so that a box the dialog raises meets the watchdog instead of blocking it.
            QMetaObject::invokeMethod(
                files,
                [files, end = c.end] {
                    switch (end) {
                    case End::Button:
                        static_cast<QDialog *>(files)->accept(); // as the Save or Open button does
                        break;
                    case End::Cancel:
                        files->reject();
                        break;
                    case End::Bare:
                        static_cast<QDialog *>(files)->done(QDialog::Accepted);
                        break;
                    }
                },
                Qt::QueuedConnection);
        });
        EXPECT_EQ(dialog.ShowOpen(), c.chosen);
        EXPECT_TRUE(modalHandled());
        EXPECT_EQ(dialog.FileName, c.chosen ? path(c.proposed) : QString());
        if (c.chosen) {
            EXPECT_EQ(dialog.FileTitle, c.proposed);
            EXPECT_EQ(dialog.FilterIndex, 2);
        }
        // A cancel is no failure; a failure tells what came back and what is wrong with it.
        const bool failed = c.end == End::Bare;
        EXPECT_EQ(dialog.ExtendedError, failed ? clsCommonDialog::FNERR_INVALIDFILENAME : 0u);
        EXPECT_EQ(dialog.ErrorText.isEmpty(), !failed);
        if (failed) {
            EXPECT_TRUE(dialog.ErrorText.startsWith(QDir(path("")).absolutePath()))
                << dialog.ErrorText.toStdString();
            EXPECT_TRUE(dialog.ErrorText.endsWith(QString::fromLocal8Bit(std::strerror(EISDIR))))
                << dialog.ErrorText.toStdString();
        }
    }
}
