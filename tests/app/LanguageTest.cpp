// The whole main window in Italian with the shipped message file: no caption stays English,
// every caption has a number, and F12 turns everything over, the type box and the panel too.
#include "SilentWav.h"
#include "WindowFixture.h"

#include "core/texts/ProfileText.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QTest>

namespace {

const QString Source = QStringLiteral(TONVERA_SOURCE_DIR);

// Names, not words: the same in every language.
const QSet<QString> Names = {"MP3", "WAV", "Wave", "WM Audio", "Audio 8", "STOP"};
// Labels that show a file's data, not a caption.
const QSet<QString> DataLabels
    = {"LabTit", "LabMsg", "LabTime", "LabInfo", "LabComment", "LabStatus", "LabOutDir",
        "LabBarINP", "LabBarOUT", "LabProgrNum", "LabBarraNum", "Lab2", "LabProgr", "LabWait"};

QString bare(QString caption)
{
    caption.remove(QLatin1Char('&'));
    if (caption.startsWith(QLatin1String(" Tonvera - ")))
        caption = caption.mid(11);
    return caption.trimmed();
}

class LanguageTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        ASSERT_TRUE(QFile::copy(Source + "/resources/PRMSG", appFolder + "/PRMSG"));
        const auto file = ProfileText::load((Source + "/resources/PRMSG").toStdString());
        ASSERT_TRUE(file);
        for (const char *section : {"msgEN", "msgIT"})
            for (const auto &[key, value] : file->section(section))
                texts[section].insert(bare(QString::fromStdString(value)));
        music = path("music");
        QDir().mkpath(music);
        ASSERT_TRUE(writeSilentWav(music + "/tone.wav", 1));
    }

    // Every caption the window shows: buttons, labels, frames and menu entries.
    QList<std::pair<QString, QString>> captions()
    {
        QList<std::pair<QString, QString>> found;
        for (auto *button : window->findChildren<QAbstractButton *>())
            found.append({button->objectName(), button->text()});
        for (auto *label : window->findChildren<QLabel *>())
            if (!DataLabels.contains(label->objectName()))
                found.append({label->objectName(), label->text()});
        for (auto *group : window->findChildren<QGroupBox *>())
            found.append({group->objectName(), group->title()});
        for (auto *action : window->findChildren<QAction *>())
            if (!action->isSeparator())
                found.append({action->objectName(), action->text()});
        return found;
    }

    QMap<QString, QSet<QString>> texts;
    QString music;
};

TEST_F(LanguageTest, ItalianWindowShowsNoEnglishAndNoUnnumberedCaption)
{
    storeSettings({{"Language", "IT"}, {"Path", music}, {"iTyp", "4"}});
    ASSERT_TRUE(start());
    ui().ListInput->setCurrentRow(0);

    for (const auto &[name, caption] : captions()) {
        const QString text = bare(caption);
        if (text.isEmpty() || Names.contains(text) || name.startsWith("qt_"))
            continue;
        EXPECT_TRUE(texts["msgIT"].contains(text))
            << name.toStdString() << " shows " << text.toStdString()
            << (texts["msgEN"].contains(text) ? " (English)" : " (no number)");
    }
    // The panel's words, the date's month and the type box.
    EXPECT_TRUE(ui().LabMsg->text().startsWith("Dimensione: "))
        << ui().LabMsg->text().toStdString();
    EXPECT_TRUE(ui().LabMsg->text().contains("Data: "));
    EXPECT_TRUE(ui().LabTime->text().startsWith("Durata: "));
    EXPECT_TRUE(ui().LabInfo->text().contains("Frequenza di campionamento (Hz): "));
    EXPECT_TRUE(ui().CboType->itemText(4).startsWith("Supportati"));
    // Qt's own buttons (message boxes, file dialogs) speak Italian too.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Annulla");
}

TEST_F(LanguageTest, F12TurnsTheWholeWindowOver)
{
    storeSettings({{"Language", "EN"}, {"Path", music}, {"iTyp", "4"}});
    ASSERT_TRUE(start());
    ui().ListInput->setCurrentRow(0);
    ASSERT_TRUE(ui().LabTime->text().startsWith("Time: "));
    ASSERT_TRUE(ui().CboType->currentText().startsWith("Supported"));
    const int listed = ui().ListInput->count();

    languages.answer = "IT";
    ui().ListInput->setFocus();
    QTest::keyClick(ui().ListInput, Qt::Key_F12);
    EXPECT_EQ(ui().fraOutDir->title(), "Cartella di destinazione");
    EXPECT_EQ(ui().cmdBrowse->text(), "Sfoglia");
    EXPECT_TRUE(ui().LabTime->text().startsWith("Durata: ")) << ui().LabTime->text().toStdString();
    // The same entry of the type box, in Italian, and the list as it was.
    EXPECT_EQ(ui().CboType->currentIndex(), 4);
    EXPECT_TRUE(ui().CboType->currentText().startsWith("Supportati"));
    EXPECT_EQ(state.LastTypeText, ui().CboType->currentText());
    EXPECT_EQ(ui().ListInput->count(), listed);

    languages.answer = "EN";
    QTest::keyClick(ui().ListInput, Qt::Key_F12);
    EXPECT_EQ(ui().cmdBrowse->text(), "Browse");
    EXPECT_TRUE(ui().CboType->currentText().startsWith("Supported"));
}

} // namespace
