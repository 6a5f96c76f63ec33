#include "PanelFixture.h"

#include "app/Services.h"
#include "browser/OutputList.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QHelpEvent>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolTip>

namespace {
class ScriptedPicker : public FolderPickerService
{
public:
    QString pickFolder(const QString &title, const QString &startFolder) override
    {
        lastTitle = title;
        lastStart = startFolder;
        return answer;
    }
    QString answer, lastTitle, lastStart;
};

class OutputListTest : public PanelFixture
{
protected:
    OutputListTest()
    {
        o.OptSameDir = new QRadioButton(&window);
        o.OptUsrDir = new QRadioButton(&window);
        o.cmdBrowse = new QPushButton(&window);
        o.LabOutDir = new QLabel(&window);
        o.ListOutput = new QListWidget(&window);
        o.LabStatus = w.LabStatus;
        o.LabBarINP = w.LabBarINP;
        o.LabBarOUT = w.LabBarOUT;
        o.ImgMsg = w.ImgMsg;
        o.ShaPallino = w.ShaPallino;
        o.ShapINP = new QFrame(&window);
        o.ShapOUT = new QFrame(&window);
        o.SFPOPUP = new QMenu(&window);
        for (const char *name : {"mnuPlay", "mnuStop", "mnusepg", "mnuGrab", "mnuTag", "mnusepp",
                 "mnuOrder", "mnuExpl", "mnuExplOut", "mnusep", "mnuSave", "mnuMove", "SFRename",
                 "SFDelete", "SFRenameOut", "SFDeleteOut"})
            o.SFPOPUP->addAction(QString::fromLatin1(name))->setObjectName(name);
        list = std::make_unique<OutputList>(
            o, state, *panel, mediaPlayer2, picker, [this] { return inputFolder; });
    }
    bool visible(const char *action) const
    {
        return o.SFPOPUP->findChild<QAction *>(action)->isVisible();
    }

    OutputListWidgets o;
    ScriptedPicker picker;
    QString inputFolder = "/music/in/";
    std::unique_ptr<OutputList> list;
};
} // namespace

TEST_F(OutputListTest, FolderOptionsAndBrowse)
{
    list->Start();
    EXPECT_TRUE(o.OptSameDir->isChecked());
    EXPECT_EQ(state.OutputFolder, "/music/in");
    EXPECT_FALSE(o.cmdBrowse->isEnabled());

    state.UserOutputFolder = "/music/mine";
    o.OptUsrDir->click();
    EXPECT_EQ(state.OutputFolder, "/music/mine");
    EXPECT_TRUE(o.cmdBrowse->isEnabled());
    inputFolder = "/elsewhere";
    list->FollowInputFolder(inputFolder); // "Other" does not follow the input folder
    EXPECT_EQ(state.OutputFolder, "/music/mine");

    picker.answer = "/data/Out/";
    o.cmdBrowse->click();
    EXPECT_EQ(picker.lastStart, "/music/mine");
    EXPECT_EQ(picker.lastTitle, "Choose the folder where store converted files");
    EXPECT_EQ(state.OutputFolder, "/data/Out");
    EXPECT_EQ(state.UserOutputFolder, "/data/Out");

    picker.answer.clear(); // cancelled
    o.cmdBrowse->click();
    EXPECT_EQ(state.OutputFolder, "/data/Out");

    o.OptSameDir->click();
    EXPECT_EQ(state.OutputFolder, "/elsewhere");
    list->FollowInputFolder("/");
    EXPECT_EQ(state.OutputFolder, "/");
}

TEST_F(OutputListTest, LabelAt37And38Characters)
{
    state.UserOutputFolder = "/home/user/" + QString(26, u'a');
    o.OptUsrDir->click();
    EXPECT_EQ(o.LabOutDir->text(), state.UserOutputFolder + " ");
    EXPECT_TRUE(o.LabOutDir->alignment() & Qt::AlignLeft);
    EXPECT_TRUE(o.LabOutDir->toolTip().isEmpty());

    state.UserOutputFolder += "b";
    o.OptUsrDir->click();
    EXPECT_EQ(o.LabOutDir->text(), " .." + state.UserOutputFolder.right(36));
    EXPECT_TRUE(o.LabOutDir->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(o.LabOutDir->toolTip(), " " + state.UserOutputFolder + " ");
}

TEST_F(OutputListTest, ClickOnAnOutputShowsItAndMakesTheListActive)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("clip.wma");
    ASSERT_TRUE(QFile::copy(fixturePath("clip.wma"), out));
    list->AddOutputFile(out);
    ASSERT_EQ(o.ListOutput->count(), 1);
    EXPECT_TRUE(o.ListOutput->item(0)->text().startsWith("clip.wma "));

    state.OutputFolder = "/somewhere/else"; // changed after the conversion
    o.ListOutput->setCurrentRow(0);
    EXPECT_TRUE(state.OutputListActive);
    EXPECT_EQ(state.CurrentOutputFile, "clip.wma");
    EXPECT_EQ(state.ShownFilePath, out);
    EXPECT_EQ(state.ClickedFilePath, out);
    EXPECT_EQ(w.LabStatus->text(), "     clip.wma");
    EXPECT_EQ(w.LabInfo->text(),
        "Title: Clip Title\nArtist: Clip Artist\nCopyright: Clip Owner\nClip description");
    EXPECT_EQ(w.LabTime->text(), "Time: 0' 02\"");
    EXPECT_TRUE(mediaPlayer2.fileName().isEmpty()); // released for rename and delete
}

TEST_F(OutputListTest, PopupShowsOutputEntriesOnly)
{
    list->ListOutput_ContextMenu(QPoint(1, 1));
    EXPECT_TRUE(visible("mnuExplOut"));
    for (const char *a : {"mnuPlay", "SFRenameOut", "SFDeleteOut", "SFRename", "mnuOrder"})
        EXPECT_FALSE(visible(a)) << a;
    o.SFPOPUP->hide();

    QTemporaryDir dir;
    const QString out = dir.filePath("song.wma");
    QFile(out).open(QIODevice::WriteOnly);
    list->AddOutputFile(out);
    o.ListOutput->setCurrentRow(0);
    state.CurrentOutputFile.clear();
    list->ListOutput_ContextMenu(QPoint(1, 1));
    EXPECT_EQ(state.CurrentOutputFile, "song.wma");
    for (const char *a :
        {"mnuPlay", "mnuStop", "mnusepg", "mnuExplOut", "SFRenameOut", "SFDeleteOut"})
        EXPECT_TRUE(visible(a)) << a;
    for (const char *a : {"mnusepp", "mnuOrder", "mnuExpl", "mnusep", "mnuSave", "mnuMove",
             "mnuGrab", "mnuTag", "SFRename", "SFDelete"})
        EXPECT_FALSE(visible(a)) << a;
    o.SFPOPUP->hide();
}

TEST_F(OutputListTest, TooltipShowsLongNamesWhole)
{
    QTemporaryDir dir;
    const QString longName = QString(41, u'n') + ".wma"; // cut in the 40-column name field
    for (const QString &name : {QString("short.wma"), longName}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        list->AddOutputFile(f.fileName());
    }
    window.resize(600, 400);
    o.ListOutput->setGeometry(0, 0, 600, 300);
    window.show();

    const auto tipAt = [this](int row) {
        const QPoint at = o.ListOutput->visualItemRect(o.ListOutput->item(row)).center();
        QHelpEvent help(QEvent::ToolTip, at, o.ListOutput->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(o.ListOutput->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipAt(0).toStdString(), "");
    EXPECT_EQ(tipAt(1).toStdString(), (" " + longName + " ").toStdString());
}
