#include "app/texts/Captions.h"
#include "app/texts/ProfileText.h"

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
                   "10204=Riproduci\n10206=Ferma\n531=Modifica tag\n500=Informazioni\n"
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
        auto add = [&](auto *object, const char *name) {
            object->setObjectName(QLatin1String(name));
            return object;
        };
        add(new QPushButton(window.get()), "cmdGrab");
        add(new QPushButton(window.get()), "cmdPlay");
        add(new QPushButton(window.get()), "cmdStop");
        add(new QGroupBox(window.get()), "FraConv");
        add(new QCheckBox(window.get()), "chkAll");
        add(new QAction(window.get()), "mnuDirExpl");
        add(new QAction(window.get()), "mnuExpl");
        add(new QAction(window.get()), "mnuExplOut");
        add(new QMenu(window.get()), "mnuOrder");
        add(new QPushButton(window.get()), "cmdHalt")->setText(QStringLiteral("STOP"));
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

TEST_F(CaptionsTest, MainWindowCaptionsInBothLanguages)
{
    struct Case
    {
        const char *section;
        bool fileExists;
        const char *grab, *order, *frame, *all, *explore;
    };
    const Case cases[] = {
        {"msgIT", true, "Converti", "Ordina", "3 - Opzioni", "All/None", "&Esplora"},
        {"msgEN", true, "Convert", "Sort", "3 - Choose conversion options", "All/None", "&Explore"},
        {"msgIT", false, "Convert", "Sort", "3 - Choose conversion options", "All/None",
            "&Explore"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.section) + (c.fileExists ? " with file" : " without file"));
        state.MessageSection = QString::fromLatin1(c.section);
        if (!c.fileExists)
            state.MessageFilePath = dir.filePath(QStringLiteral("MISSING"));
        auto window = mainWindow();
        ApplyCaptions(window.get(), state);
        EXPECT_EQ(child<QPushButton>(window.get(), "cmdGrab")->text(), QString::fromUtf8(c.grab));
        EXPECT_EQ(child<QMenu>(window.get(), "mnuOrder")->title(), QString::fromUtf8(c.order));
        EXPECT_EQ(child<QGroupBox>(window.get(), "FraConv")->title(), QString::fromUtf8(c.frame));
        EXPECT_EQ(child<QCheckBox>(window.get(), "chkAll")->text(), QString::fromUtf8(c.all));
        for (const char *name : {"mnuDirExpl", "mnuExpl", "mnuExplOut"})
            EXPECT_EQ(child<QAction>(window.get(), name)->text(), QString::fromUtf8(c.explore))
                << name;
        // Unlisted controls and the window title keep their designed text.
        EXPECT_EQ(child<QPushButton>(window.get(), "cmdHalt")->text(), QStringLiteral("STOP"));
        EXPECT_EQ(window->windowTitle(), QStringLiteral(" Tonvera"));
    }
}

TEST_F(CaptionsTest, LanguageSwitchRewritesCaptionsAndTooltips)
{
    auto window = mainWindow();
    ApplyCaptions(window.get(), state);
    ApplyTooltips(window.get(), state);
    EXPECT_EQ(child<QPushButton>(window.get(), "cmdPlay")->toolTip(), QStringLiteral(" Play "));
    EXPECT_EQ(child<QPushButton>(window.get(), "cmdGrab")->toolTip(),
        QStringLiteral(" Convert marked files "));

    state.MessageSection = QStringLiteral("msgIT");
    ApplyCaptions(window.get(), state);
    ApplyTooltips(window.get(), state);
    EXPECT_EQ(child<QPushButton>(window.get(), "cmdGrab")->text(), QStringLiteral("Converti"));
    EXPECT_EQ(
        child<QPushButton>(window.get(), "cmdPlay")->toolTip(), QStringLiteral(" Riproduci "));
    EXPECT_EQ(child<QPushButton>(window.get(), "cmdStop")->toolTip(), QStringLiteral(" Ferma "));
    EXPECT_EQ(child<QAction>(window.get(), "mnuExplOut")->text(), QStringLiteral("&Esplora"));
}

TEST_F(CaptionsTest, TagEditorTitlePaddingAndCopiedCaptions)
{
    QWidget window;
    window.setObjectName(QStringLiteral("frmTagInfo"));
    auto add = [&](QWidget *widget, const char *name) {
        widget->setObjectName(QLatin1String(name));
    };
    add(new QGroupBox(&window), "FraConv");
    add(new QLabel(&window), "LabGenre");
    add(new QLabel(&window), "LabTit");
    add(new QCheckBox(&window), "chkPar_1");
    add(new QCheckBox(&window), "chkPar_5");
    add(new QCheckBox(&window), "chkPar_6");

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
