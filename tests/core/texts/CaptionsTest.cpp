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

template<typename T>
static T *add(QWidget *window, const char *name, const QString &text = {})
{
    auto *object = new T(window);
    object->setObjectName(QLatin1String(name));
    if constexpr (std::is_base_of_v<QAbstractButton, T>)
        object->setText(text);
    return object;
}

// The decorations: an access key, blanks around tooltips and frame titles, the program's name
// before a window title, captions copied from another control, a captionless button named by
// its tooltip. One window switched back and forth, as F12 does: every pass rewrites what the
// last one set; unlisted controls and windows keep their designed text.
TEST(CaptionsTest, EveryWindowInBothLanguages)
{
    QTemporaryDir dir;
    AppState state;
    state.MessageFilePath = dir.filePath(QStringLiteral("PRMSG"));
    QFile file(state.MessageFilePath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[msgIT]\n320=Converti\n910=Ordina\n113=3 - Opzioni\n10204=Riproduci\n810=Esplora\n"
               "531=Modifica tag\n500=Informazioni\n507=Genere   $G\n");
    file.close();
    ProfileText::clearCache();
    QWidget main, editor, other;
    main.setObjectName("frmMain");
    editor.setObjectName("frmTagInfo");
    other.setObjectName("TechLan"); // a window without captions of its own
    other.setWindowTitle(" Tonvera");
    auto *grab = add<QPushButton>(&main, "cmdGrab"), *play = add<QPushButton>(&main, "cmdPlay");
    auto *halt = add<QPushButton>(&main, "cmdHalt", "STOP");
    auto *all = add<QCheckBox>(&main, "chkAll");
    add<QAction>(&main, "mnuDirExpl");
    auto *explore = add<QAction>(&main, "mnuExplOut"); // copied from mnuDirExpl
    auto *frame = add<QGroupBox>(&main, "FraConv"), *info = add<QGroupBox>(&editor, "FraConv");
    auto *order = add<QMenu>(&main, "mnuOrder");
    add<QLabel>(&editor, "LabGenre");
    auto *genre = add<QCheckBox>(&editor, "chkPar_1"), *track = add<QCheckBox>(&editor, "chkPar_5");
    auto *keep = add<QPushButton>(&other, "cmdGrab", "keep");
    // section; grab, order, frame, explore, play's tooltip, the editor's title and genre row
    const std::tuple<const char *, const char *, const char *, const char *, const char *,
        const char *, const char *, const char *>
        cases[] = {{"msgEN", "Convert", "Sort", "3 - Choose conversion options", "&Explore", "Play",
                       " Tonvera - Edit Tag & Filename", "Genre   $G"},
            {"msgIT", "Converti", "Ordina", "3 - Opzioni", "&Esplora", "Riproduci",
                " Tonvera - Modifica tag", "Genere   $G"}};
    for (const auto &[section, grabText, orderText, frameText, exploreText, playTip, title,
             genreText] : cases) {
        SCOPED_TRACE(section);
        state.MessageSection = section;
        for (QWidget *window : {&main, &editor, &other, static_cast<QWidget *>(nullptr)}) {
            ApplyCaptions(window, state);
            ApplyTooltips(window, state);
        }
        EXPECT_EQ(
            QStringList({grab->text(), order->title(), frame->title(), explore->text(),
                play->toolTip(), play->accessibleName(), editor.windowTitle(), genre->text()}),
            QStringList({grabText, orderText, frameText, exploreText, " " + QString(playTip) + " ",
                playTip, title, genreText}));
        EXPECT_EQ(all->text(), "All/None"); // not in the file: the English text
        EXPECT_EQ(track->text(), "Track#  $5");
        EXPECT_EQ(halt->text(), "STOP");
        EXPECT_TRUE(genre->toolTip().isEmpty());
    }
    EXPECT_EQ(grab->toolTip(), " Convert marked files ");
    EXPECT_EQ(info->title(), " Informazioni ");
    EXPECT_EQ(other.windowTitle(), " Tonvera");
    EXPECT_EQ(keep->text(), "keep");
    EXPECT_TRUE(keep->toolTip().isEmpty());
}
