#include "dialogs/clsCommonDialog.h"

#include "GuiFixture.h"

#include <QFile>
#include <QFileDialog>
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

    const struct
    {
        quint32 flags;
        QString proposed;
        bool accept;
        bool chosen;
    } cases[] = {
        // "Save as": a new name is taken although no such file exists yet.
        {1028, "Copy of song.mp3", true, true},
        {clsCommonDialog::OFN_FILEMUSTEXIST, "song.mp3", true, true},
        {1028, "Copy of song.mp3", false, false},
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
            // Queued, so that a box the dialog raises meets the watchdog instead of blocking it.
            QMetaObject::invokeMethod(
                files,
                [files, accept = c.accept] {
                    if (accept)
                        static_cast<QDialog *>(files)->accept(); // as the Open button does
                    else
                        files->reject();
                },
                Qt::QueuedConnection);
        });
        EXPECT_EQ(dialog.ShowOpen(), c.chosen);
        EXPECT_TRUE(modalHandled());
        EXPECT_EQ(dialog.ExtendedError, 0u);
        if (c.chosen) {
            EXPECT_EQ(dialog.FileName, path(c.proposed));
            EXPECT_EQ(dialog.FileTitle, c.proposed);
            EXPECT_EQ(dialog.FilterIndex, 2);
        } else {
            EXPECT_EQ(dialog.FileName, "");
        }
    }
}
