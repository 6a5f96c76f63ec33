#include "dialogs/clsCommonDialog.h"

#include "GuiFixture.h"

#include <QFileDialog>
#include <cerrno>
#include <cstring>

// Filter pairs become name filters; a proposed name is cut to 255 characters.
TEST(clsCommonDialog, FiltersAndProposedName)
{
    EXPECT_EQ(clsCommonDialog::nameFilters("MP3 files|*.mp3|Audio|*.wav;*.wma"),
        QStringList({"MP3 files (*.mp3)", "Audio (*.wav *.wma)"}));
    EXPECT_EQ(clsCommonDialog::nameFilters("odd|*.mp3|dangling"), QStringList({"odd (*.mp3)"}));
    EXPECT_TRUE(clsCommonDialog::nameFilters("").isEmpty());
    EXPECT_EQ(clsCommonDialog::proposedName(QString(300, 'a')).size(), 255);
}

using ShowOpenTest = GuiFixture;

// The real dialog, accepted or cancelled as the user would, with the proposed name as it stands.
TEST_F(ShowOpenTest, ChosenOrCancelled)
{
    ASSERT_TRUE(QFile(path("song.mp3")).open(QIODevice::WriteOnly));
    // How the dialog ends: its button, Cancel, or accepted with no file named at all (as a
    // desktop's dialog may end), which gives back the folder: no file to write, a failure.
    enum class End { Button, Cancel, Bare };
    // "Save as" takes a new name in save mode, which a desktop's own dialog needs for that.
    const std::tuple<quint32, QString, End, QFileDialog::AcceptMode> cases[]
        = {{1028, "Copy of song.mp3", End::Button, QFileDialog::AcceptSave},
            {clsCommonDialog::OFN_FILEMUSTEXIST, "song.mp3", End::Button, QFileDialog::AcceptOpen},
            {1028, "Copy of song.mp3", End::Cancel, QFileDialog::AcceptSave},
            {1028, "", End::Bare, QFileDialog::AcceptSave}};
    for (const auto &[flags, proposed, end, mode] : cases) {
        SCOPED_TRACE(proposed.toStdString());
        const bool chosen = end == End::Button;
        clsCommonDialog dialog;
        dialog.InitDir = path("");
        dialog.Flags = flags;
        dialog.Filter = "*.mp3|*.mp3|All Files (*.*)|*.*";
        dialog.FilterIndex = 2;
        dialog.FileName = proposed;
        expectModal([&](QWidget *modal) {
            auto *files = qobject_cast<QFileDialog *>(modal);
            ASSERT_NE(files, nullptr);
            EXPECT_EQ(files->acceptMode(), mode);
            // The caller asks before replacing, in its own words; the dialog must not as well.
            EXPECT_TRUE(files->testOption(QFileDialog::DontConfirmOverwrite));
            // Queued, so that a box the dialog raises meets the watchdog instead of blocking it.
            // accept() is the Save or Open button; done() ends the dialog without its checks.
            auto *box = static_cast<QDialog *>(files);
            QMetaObject::invokeMethod(
                box,
                [box, end = end] {
                    end == End::Button
                        ? box->accept()
                        : box->done(end == End::Bare ? QDialog::Accepted : QDialog::Rejected);
                },
                Qt::QueuedConnection);
        });
        EXPECT_EQ(dialog.ShowOpen(), chosen);
        EXPECT_TRUE(modalHandled());
        EXPECT_EQ(dialog.FileName, chosen ? path(proposed) : QString());
        if (chosen) {
            EXPECT_EQ(std::pair(dialog.FileTitle, dialog.FilterIndex), std::pair(proposed, 2));
        }
        // A cancel is no failure; a failure tells what came back and what is wrong with it.
        const bool failed = end == End::Bare;
        EXPECT_EQ(dialog.ExtendedError, failed ? clsCommonDialog::FNERR_INVALIDFILENAME : 0u);
        const QString &error = dialog.ErrorText;
        EXPECT_TRUE(failed ? error.startsWith(QDir(path("")).absolutePath())
                    && error.endsWith(QString::fromLocal8Bit(std::strerror(EISDIR)))
                           : error.isEmpty())
            << error.toStdString();
    }
}
