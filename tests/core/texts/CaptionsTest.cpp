#include "core/texts/Captions.h"
#include "core/texts/ProfileText.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

namespace {

class CaptionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        state.MessageFilePath = dir.filePath(QStringLiteral("PRMSG"));
        QFile file(state.MessageFilePath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[msgEN]\n810=Explore\n"
                   "[msgIT]\n320=Converti\n810=Esplora\n910=Ordina\n113=3 - Opzioni\n"
                   "10204=Riproduci\n531=Modifica tag\n500=Informazioni\n"
                   "507=Genere   $G\n501=Titolo   $T  (max 30)\n");
        file.close();
        ProfileText::clearCache();
        state.MessageSection = QStringLiteral("msgEN");
    }

    // A main window with a few of its controls; the rest of the table has no object here.
    std::unique_ptr<QWidget> mainWindow()
    {
        auto window = std::make_unique<QWidget>();
        window->setObjectName(QStringLiteral("frmMain"));
        window->setWindowTitle(QStringLiteral(" Tonvera"));
        for (const char *name : {"cmdGrab", "cmdPlay", "cmdHalt"})
            (new QPushButton(window.get()))->setObjectName(QLatin1String(name));
        for (const char *name : {"mnuDirExpl", "mnuExpl", "mnuExplOut"})
            (new QAction(window.get()))->setObjectName(QLatin1String(name));
        (new QGroupBox(window.get()))->setObjectName(QStringLiteral("FraConv"));
        (new QCheckBox(window.get()))->setObjectName(QStringLiteral("chkAll"));
        (new QMenu(window.get()))->setObjectName(QStringLiteral("mnuOrder"));
        child<QPushButton>(window.get(), "cmdHalt")->setText(QStringLiteral("STOP"));
        return window;
    }

    template<typename T>
    static T *child(QWidget *window, const char *name)
    {
        return window->findChild<T *>(QLatin1String(name));
    }

    QTemporaryDir dir;
    AppState state;
};

// One window switched back and forth, as F12 does: every pass rewrites what the last one set.
TEST_F(CaptionsTest, MainWindowCaptionsAndTooltipsInBothLanguages)
{
    struct Case
    {
        const char *section;
        bool fileExists;
        const char *grab, *order, *frame, *explore, *playTip;
    };
    const Case cases[] = {
        {"msgEN", true, "Convert", "Sort", "3 - Choose conversion options", "&Explore", " Play "},
        {"msgIT", true, "Converti", "Ordina", "3 - Opzioni", "&Esplora", " Riproduci "},
        {"msgIT", false, "Convert", "Sort", "3 - Choose conversion options", "&Explore", " Play "},
    };
    auto window = mainWindow();
    QWidget *win = window.get();
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.section) + (c.fileExists ? " with file" : " without file"));
        state.MessageSection = QString::fromLatin1(c.section);
        if (!c.fileExists)
            state.MessageFilePath = dir.filePath(QStringLiteral("MISSING"));
        ApplyCaptions(win, state);
        ApplyTooltips(win, state);
        EXPECT_EQ(child<QPushButton>(win, "cmdGrab")->text(), QString::fromUtf8(c.grab));
        EXPECT_EQ(child<QMenu>(win, "mnuOrder")->title(), QString::fromUtf8(c.order));
        EXPECT_EQ(child<QGroupBox>(win, "FraConv")->title(), QString::fromUtf8(c.frame));
        EXPECT_EQ(child<QCheckBox>(win, "chkAll")->text(), QStringLiteral("All/None"));
        for (const char *name : {"mnuDirExpl", "mnuExpl", "mnuExplOut"})
            EXPECT_EQ(child<QAction>(win, name)->text(), QString::fromUtf8(c.explore)) << name;
        EXPECT_EQ(child<QPushButton>(win, "cmdPlay")->toolTip(), QString::fromUtf8(c.playTip));
        // Unlisted controls and the window title keep their designed text.
        EXPECT_EQ(child<QPushButton>(win, "cmdHalt")->text(), QStringLiteral("STOP"));
        EXPECT_EQ(win->windowTitle(), QStringLiteral(" Tonvera"));
    }
    EXPECT_EQ(
        child<QPushButton>(win, "cmdGrab")->toolTip(), QStringLiteral(" Convert marked files "));
}

TEST_F(CaptionsTest, TagEditorTitlePaddingAndCopiedCaptions)
{
    QWidget window;
    window.setObjectName(QStringLiteral("frmTagInfo"));
    (new QGroupBox(&window))->setObjectName(QStringLiteral("FraConv"));
    for (const char *name : {"LabGenre", "LabTit"})
        (new QLabel(&window))->setObjectName(QLatin1String(name));
    for (const char *name : {"chkPar_1", "chkPar_5", "chkPar_6"})
        (new QCheckBox(&window))->setObjectName(QLatin1String(name));

    for (const char *section : {"msgEN", "msgIT"}) {
        state.MessageSection = QString::fromLatin1(section);
        ApplyCaptions(&window, state);
        ApplyTooltips(&window, state); // no tooltips for this window: nothing may change
    }
    EXPECT_EQ(window.windowTitle(), QStringLiteral(" Tonvera - Modifica tag"));
    EXPECT_EQ(child<QGroupBox>(&window, "FraConv")->title(), QStringLiteral(" Informazioni "));
    EXPECT_EQ(child<QCheckBox>(&window, "chkPar_1")->text(), QStringLiteral("Genere   $G"));
    EXPECT_EQ(
        child<QCheckBox>(&window, "chkPar_6")->text(), QStringLiteral("Titolo   $T  (max 30)"));
    EXPECT_EQ(child<QCheckBox>(&window, "chkPar_5")->text(), QStringLiteral("Track#  $5"));
    EXPECT_TRUE(child<QCheckBox>(&window, "chkPar_1")->toolTip().isEmpty());
}

TEST_F(CaptionsTest, DialogsAndUnknownWindows)
{
    QWidget options;
    options.setObjectName(QStringLiteral("frmOptions"));
    auto *cancel = new QPushButton(&options);
    cancel->setObjectName(QStringLiteral("CmdCancel"));
    ApplyCaptions(&options, state);
    ApplyTooltips(&options, state);
    EXPECT_EQ(cancel->text(), QStringLiteral("&Cancel"));
    EXPECT_EQ(cancel->toolTip(), QStringLiteral(" Abort & go back "));

    QWidget cutName;
    cutName.setObjectName(QStringLiteral("frmCutName"));
    ApplyCaptions(&cutName, state);
    EXPECT_EQ(cutName.windowTitle(), QStringLiteral(" Tonvera - Filename Rules"));

    QWidget other;
    other.setObjectName(QStringLiteral("TechLan"));
    other.setWindowTitle(QStringLiteral(" Tonvera"));
    auto *grab = new QPushButton(QStringLiteral("keep"), &other);
    grab->setObjectName(QStringLiteral("cmdGrab"));
    ApplyCaptions(&other, state);
    ApplyTooltips(&other, state);
    ApplyCaptions(nullptr, state);
    EXPECT_EQ(other.windowTitle(), QStringLiteral(" Tonvera"));
    EXPECT_EQ(grab->text(), QStringLiteral("keep"));
    EXPECT_TRUE(grab->toolTip().isEmpty());
}

} // namespace
