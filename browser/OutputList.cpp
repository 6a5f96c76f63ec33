#include "OutputList.h"

#include "InfoPanel.h"
#include "ListLine.h"
#include "OutputFolder.h"
#include "SizeText.h"
#include "core/AppState.h"
#include "core/MainCommands.h"
#include "core/PathHelpers.h"
#include "core/Services.h"
#include "core/StatusLine.h"
#include "core/texts/LocalText.h"
#include "playback/MediaControls.h"
#include "playback/MediaProbe.h"

#include <QAbstractButton>
#include <QAction>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QToolTip>

OutputList::OutputList(const OutputListWidgets &widgets, AppState &state, InfoPanel &panel,
    MediaControls &media, StatusLine &status, MainCommands &commands, FolderPickerService &picker,
    QObject *parent)
    : QObject(parent)
    , w(widgets)
    , state(state)
    , panel(panel)
    , MediaPlayer2(media.MediaPlayer2())
    , status(status)
    , commands(commands)
    , picker(picker)
{
    connect(w.OptSameDir, &QAbstractButton::clicked, this, &OutputList::OptSameDir_Click);
    connect(w.OptUsrDir, &QAbstractButton::clicked, this, &OutputList::OptUsrDir_Click);
    connect(w.cmdBrowse, &QAbstractButton::clicked, this, &OutputList::cmdBrowse_Click);

    // A mouse click runs the handler once on release; keys and code that move the current
    // entry run it when the entry changes.
    connect(w.ListOutput, &QListWidget::itemClicked, this, &OutputList::ListOutput_Click);
    connect(w.ListOutput, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && QGuiApplication::mouseButtons() == Qt::NoButton)
            ListOutput_Click();
    });
    w.ListOutput->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(w.ListOutput, &QWidget::customContextMenuRequested, this,
        &OutputList::ListOutput_ContextMenu);
    w.ListOutput->viewport()->installEventFilter(this);
}

void OutputList::FollowInputFolder(const QString &dir1Folder)
{
    if (!w.OptSameDir->isChecked())
        return;
    state.OutputFolder = WithoutTrailingSeparator(dir1Folder);
    ShowOutputFolderLabel();
}

void OutputList::AddOutputFile(const QString &path)
{
    Aggiungi_Playlist(w.ListOutput, path,
        SizeText(path, 0, LocalText(state, 100, QStringLiteral("bytes"))), ListLine::OutputSizeEnd);
}

void OutputList::ShowOutputFolderLabel()
{
    const OutputFolder::Label label = OutputFolder::LabelFor(state.OutputFolder);
    w.LabOutDir->setAlignment(
        (label.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    w.LabOutDir->setText(label.text);
    w.LabOutDir->setToolTip(label.toolTip);
}

void OutputList::OptSameDir_Click()
{
    state.OutputFolder = WithoutTrailingSeparator(state.CurrentFolder);
    w.cmdBrowse->setEnabled(false);
    ShowOutputFolderLabel();
}

void OutputList::OptUsrDir_Click()
{
    state.OutputFolder = WithoutTrailingSeparator(state.UserOutputFolder);
    w.cmdBrowse->setEnabled(true);
    ShowOutputFolderLabel();
}

void OutputList::cmdBrowse_Click()
{
    const QString chosen = picker.pickFolder(
        LocalText(state, 188, QStringLiteral("Choose the folder where store converted files")),
        state.OutputFolder);
    if (chosen.isEmpty())
        return;
    state.UserOutputFolder = WithoutTrailingSeparator(chosen);
    state.OutputFolder = state.UserOutputFolder;
    ShowOutputFolderLabel();
}

QString OutputList::currentEntryFile() const
{
    return PathOfItem(w.ListOutput->currentItem());
}

void OutputList::ListOutput_Click()
{
    if (!w.ListOutput->currentItem())
        return;
    // The entry keeps the path the file was written to; the output folder may have been
    // changed since, so it is not rebuilt from the current one.
    const QString path = currentEntryFile();
    state.CurrentOutputFile = ListLine::fileNameOf(path);
    if (state.CurrentOutputFile.isEmpty())
        return;

    state.OutputListActive = true;
    state.ShownFilePath = path;
    state.ClickedFilePath = path;
    const QString type = state.CurrentOutputFile.right(3).toUpper();

    status.hideDot();
    status.setText(QStringLiteral("     ") + state.CurrentOutputFile);
    status.showWarningPicture(false);
    w.ShapINP->setFixedWidth(0);
    w.ShapOUT->setFixedWidth(0);
    w.LabBarINP->clear();
    w.LabBarOUT->clear();
    // A converted file can be played, and so can the section of it that is set.
    commands.set(MainCommand::Play, true);
    commands.set(MainCommand::PlaySection, state.Cut.isSet());

    MediaPlayer2.setFileName(path);
    state.SourceLengthMs = 1000.0 * MediaPlayer2.Duration();
    panel.ShowFileInfo(path, type);
    MediaPlayer2.setFileName(QString());
}

void OutputList::showOutputEntries(bool withFile)
{
    QMenu *menu = w.SFPOPUP;
    const auto set = [menu](const char *name, bool visible) {
        for (QAction *a : menu->actions()) {
            if (a->objectName() == QLatin1String(name))
                a->setVisible(visible);
        }
    };
    for (const char *name : {"mnuPlay", "mnuStop", "mnusepg", "SFRenameOut", "SFDeleteOut"})
        set(name, withFile);
    set("mnuExplOut", true);
    for (const char *name : {"mnusepp", "mnuOrder", "mnuExpl", "mnusep", "mnuSave", "mnuMove",
             "mnuGrab", "mnuTag", "SFRename", "SFDelete"})
        set(name, false);
}

void OutputList::ListOutput_ContextMenu(const QPoint &pos)
{
    if (!w.SFPOPUP)
        return;
    bool withFile = false;
    if (w.ListOutput->currentItem()) {
        state.CurrentOutputFile = ListLine::fileNameOf(currentEntryFile());
        if (state.CurrentOutputFile.isEmpty())
            return;
        // The right click made the entry current: as a click, it is shown and becomes what
        // Play/Pause acts on, which is offered even while a file plays.
        ListOutput_Click();
        withFile = true;
    }
    showOutputEntries(withFile);
    w.SFPOPUP->popup(w.ListOutput->viewport()->mapToGlobal(pos));
}

bool OutputList::eventFilter(QObject *watched, QEvent *event)
{
    // Long names are cut in the list's name column; the tooltip shows them whole.
    if (watched == w.ListOutput->viewport() && event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QListWidgetItem *item = w.ListOutput->itemAt(help->pos());
        const QString name = ListLine::fileNameOf(PathOfItem(item));
        if (item && name.size() > ListLine::NameColumns)
            QToolTip::showText(help->globalPos(), u' ' + name + u' ', w.ListOutput->viewport());
        else
            QToolTip::hideText();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
