#include "core/texts/Captions.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

template<typename T>
static T *add(QWidget *window, const char *name, const QString &text = {})
{
    auto *object = new T(window);
    object->setObjectName(QLatin1String(name));
    if constexpr (std::is_base_of_v<QAbstractButton, T>)
        object->setText(text);
    return object;
}

// The decorations of the captions: an access key, blanks around tooltips and frame titles, the
// program's name before a window title, captions copied from another control, a captionless
// button named by its tooltip; controls and windows the tables do not list keep their designed
// text. (The texts of both languages reaching the window: the language tests of the window.)
TEST(CaptionsTest, DecorationsOfEveryKindOfControl)
{
    AppState state; // no message file: the English texts
    QWidget main, editor, other;
    main.setObjectName("frmMain");
    editor.setObjectName("frmTagInfo");
    other.setObjectName("TechLan"); // a window without captions of its own
    other.setWindowTitle(" Tonvera");
    auto *grab = add<QPushButton>(&main, "cmdGrab"), *play = add<QPushButton>(&main, "cmdPlay");
    auto *halt = add<QPushButton>(&main, "cmdHalt", "STOP");
    add<QAction>(&main, "mnuDirExpl");
    auto *explore = add<QAction>(&main, "mnuExplOut"); // copied from mnuDirExpl
    auto *frame = add<QGroupBox>(&main, "FraConv"), *info = add<QGroupBox>(&editor, "FraConv");
    auto *order = add<QMenu>(&main, "mnuOrder");
    add<QLabel>(&editor, "LabGenre");
    auto *genre = add<QCheckBox>(&editor, "chkPar_1");
    auto *keep = add<QPushButton>(&other, "cmdGrab", "keep");
    for (QWidget *window : {&main, &editor, &other, static_cast<QWidget *>(nullptr)}) {
        ApplyCaptions(window, state);
        ApplyTooltips(window, state);
    }
    EXPECT_EQ(QStringList({grab->text(), order->title(), frame->title(), explore->text(),
                  info->title(), editor.windowTitle(), genre->text()}),
        QStringList({"Convert", "Sort", "3 - Choose conversion options", "&Explore",
            " Information for WMA file ", " Tonvera - Edit Tag & Filename", "Genre   $G"}));
    EXPECT_EQ(QStringList({grab->toolTip(), play->toolTip(), play->accessibleName()}),
        QStringList({" Convert marked files ", " Play ", "Play"}));
    EXPECT_TRUE(grab->accessibleName().isEmpty() && genre->toolTip().isEmpty());
    EXPECT_EQ(halt->text(), "STOP");
    EXPECT_EQ(QStringList({other.windowTitle(), keep->text(), keep->toolTip()}),
        QStringList({" Tonvera", "keep", ""}));
}
