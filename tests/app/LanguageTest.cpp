// The whole main window turned into Italian with F12 and back, with the shipped message file: no
// caption stays English, every caption has a number, and the type box, the panel, the tooltips
// and Qt's own texts follow too, the marked-files count kept.
#include "SilentWav.h"
#include "WindowFixture.h"

#include "core/texts/ProfileText.h"

namespace {

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

using LanguageTest = WindowFixture;

TEST_F(LanguageTest, F12TurnsTheWholeWindowOverAndBack)
{
    const QString shipped = QStringLiteral(TONVERA_SOURCE_DIR "/resources/PRMSG");
    ASSERT_TRUE(QFile::copy(shipped, appFolder + "/PRMSG"));
    const auto file = ProfileText::load(shipped.toStdString());
    ASSERT_TRUE(file);
    QMap<QString, QSet<QString>> texts;
    for (const char *section : {"msgEN", "msgIT"})
        for (const auto &[key, value] : file->section(section))
            texts[section].insert(bare(QString::fromStdString(value)));
    ASSERT_TRUE(writeSilentWav(music + "/tone.wav", 1));
    storeSettings({{"Language", "EN"}, {"Path", music}, {"iTyp", "4"}});
    ASSERT_TRUE(start());
    ui().ListInput->setCurrentRow(0);
    ASSERT_TRUE(ui().LabTime->text().startsWith("Time: "));
    const QString count = ui().Lab2->text().mid(ui().Lab2->text().indexOf("   ("));
    EXPECT_EQ(count, "   (1/1)");

    languages.answer = "IT";
    // The key goes where the user's keys go: to the control with the focus.
    ui().ListInput->setFocus();
    QTest::keyClick(ui().ListInput, Qt::Key_F12);
    EXPECT_EQ(languages.calls, 1);
    EXPECT_EQ(languages.lastCurrent, "EN");
    EXPECT_EQ(state.MessageSection, "msgIT");
    EXPECT_EQ(Settings().text("UserDef", "Language", ""), "IT");
    // Every caption the window shows: buttons, labels, frames and menu entries.
    for (QObject *item : window->findChildren<QObject *>()) {
        const bool frame = item->inherits("QGroupBox");
        const QString name = item->objectName();
        const QString text = bare(item->property(frame ? "title" : "text").toString());
        const bool caption = frame || item->inherits("QAbstractButton") || item->inherits("QAction")
            || (item->inherits("QLabel") && !DataLabels.contains(name));
        if (!caption || text.isEmpty() || Names.contains(text) || name.startsWith("qt_"))
            continue;
        EXPECT_TRUE(texts["msgIT"].contains(text))
            << name.toStdString() << " shows " << text.toStdString()
            << (texts["msgEN"].contains(text) ? " (English)" : " (no number)");
    }
    EXPECT_EQ(namelessControls(window.get()), QStringList());
    EXPECT_EQ(ui().Lab2->text(), "2 - Seleziona i file da convertire" + count);
    EXPECT_EQ(ui().cmdAbout->toolTip(), " Informazioni ");
    // The panel's words, the date's month and the type box: the same entry, and the list as it
    // was.
    EXPECT_TRUE(ui().LabMsg->text().startsWith("Dimensione: "))
        << ui().LabMsg->text().toStdString();
    EXPECT_TRUE(ui().LabMsg->text().contains("Data: "));
    EXPECT_TRUE(ui().LabTime->text().startsWith("Durata: ")) << ui().LabTime->text().toStdString();
    EXPECT_TRUE(ui().LabInfo->text().contains("Frequenza di campionamento (Hz): "));
    EXPECT_EQ(ui().CboType->currentIndex(), 4);
    EXPECT_TRUE(ui().CboType->currentText().startsWith("Supportati"));
    EXPECT_EQ(state.LastTypeText, ui().CboType->currentText());
    EXPECT_EQ(listed(), QStringList {"tone.wav"});
    // Qt's own buttons (message boxes, file dialogs) speak Italian too.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Annulla");

    languages.answer = "EN";
    QTest::keyClick(ui().ListInput, Qt::Key_F12);
    EXPECT_EQ(ui().cmdBrowse->text(), "Browse");
    EXPECT_TRUE(ui().CboType->currentText().startsWith("Supported"));
    EXPECT_TRUE(ui().LabTime->text().startsWith("Time: "));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
    EXPECT_EQ(namelessControls(window.get()), QStringList());
}

} // namespace
