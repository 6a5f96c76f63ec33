#include "tags/FileOperations.h"

#include "browser/ListLine.h"
#include "core/AppState.h"
#include "core/PathHelpers.h"
#include "core/Services.h"
#include "core/WidgetHelpers.h"
#include "core/texts/LocalText.h"
#include "playback/MediaControls.h"
#include "tags/FileActions.h"

#include <QAbstractButton>
#include <QAction>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QListWidget>
#include <QTreeView>
#include <QUrl>

#include <cerrno>
#include <cstring>

using FileActions::Outcome;
using FileActions::Result;

namespace {
constexpr int Yes = 6;
constexpr int PlainMessage = 0;
constexpr int Critical = 16;
constexpr int YesNoQuestionNoDefault = 292;

// The exact path an entry of either list stands for.
QString pathOfEntry(const QListWidgetItem *item)
{
    if (!item)
        return QString();
    const QVariant stored = item->data(ListLine::PathRole);
    return stored.isValid() ? stored.toString() : ListLine::pathOf(item->text());
}

QString folderOf(const QString &path)
{
    return QFileInfo(path).absolutePath();
}

} // namespace

FileOperations::FileOperations(
    const FileOperationWidgets &widgets, const FileOperationParts &parts, QObject *parent)
    : QObject(parent)
    , w(widgets)
    , s(parts.state)
    , m_parts(parts)
{
    const struct
    {
        QAction *action;
        void (FileOperations::*handler)();
    } entries[] = {
        {w.SFRename, &FileOperations::SFRename_Click},
        {w.SFRenameOut, &FileOperations::SFRenameOut_Click},
        {w.SFDelete, &FileOperations::SFDelete_Click},
        {w.SFDeleteOut, &FileOperations::SFDeleteOut_Click},
        {w.mnuMove, &FileOperations::mnuMove_Click},
        {w.mnuSave, &FileOperations::mnuSave_Click},
        {w.mnuExpl, &FileOperations::mnuExpl_Click},
        {w.mnuExplOut, &FileOperations::mnuExplOut_Click},
        {w.mnuDirExpl, &FileOperations::mnuDirExpl_Click},
        {w.mnuDirOpen, &FileOperations::mnuDirOpen_Click},
    };
    for (const auto &entry : entries)
        connect(entry.action, &QAction::triggered, this, entry.handler);
    connect(w.cmdDir, &QAbstractButton::clicked, this, &FileOperations::cmdDir_Click);
}

QString FileOperations::text(int number, const char *english) const
{
    return LocalText(s, number, QString::fromUtf8(english));
}

// The file of the list's current entry; "" when the list has none or is switched off (a run is
// under way).
QString FileOperations::currentPath(QListWidget *list) const
{
    if (!list->isEnabled())
        return QString();
    return pathOfEntry(list->currentItem());
}

// The current entry's line on screen, where the rename box goes.
QRect FileOperations::placeOf(QListWidget *list) const
{
    QListWidgetItem *item = list->currentItem();
    if (!item)
        return QRect();
    list->scrollToItem(item);
    const QRect entry = list->visualItemRect(item);
    QWidget *viewport = list->viewport();
    return QRect(
        viewport->mapToGlobal(QPoint(0, entry.top())), QSize(viewport->width(), entry.height()));
}

// The folder the tree highlights: the one its menu was opened on, else the listed one.
QString FileOperations::highlightedFolder() const
{
    if (const auto *model = qobject_cast<const QFileSystemModel *>(w.Dir1->model())) {
        const QModelIndexList rows = w.Dir1->selectionModel()->selectedRows();
        const QModelIndex index = rows.isEmpty() ? w.Dir1->currentIndex() : rows.first();
        if (index.isValid())
            return WithoutTrailingSeparator(model->filePath(index));
    }
    return s.CurrentFolder;
}

// ---- Questions and the operations behind them ------------------------------------------------

bool FileOperations::askReplace(const QString &target)
{
    s.MsgResult = m_parts.messages.show(QStringLiteral("file : ") + target + QStringLiteral("\n\n")
            + text(1020, "ALREADY EXISTS ... REPLACE ?"),
        YesNoQuestionNoDefault);
    return s.MsgResult == Yes;
}

bool FileOperations::askTrash(const QString &path)
{
    s.MsgResult = m_parts.messages.show(QStringLiteral("file : ") + path + QStringLiteral("\n\n")
            + text(1021, "MOVE TO THE TRASH ?"),
        YesNoQuestionNoDefault);
    return s.MsgResult == Yes;
}

// Renames, asking before another file of that name is replaced. True when the file has its new
// name; a refusal of the system is said.
bool FileOperations::renameFile(const QString &from, const QString &to)
{
    Outcome outcome = FileActions::RenameThisFile(from, to);
    if (outcome.result == Result::TargetExists) {
        if (!askReplace(to))
            return false;
        outcome = FileActions::RenameThisFile(from, to, true);
    }
    if (outcome.result == Result::SourceMissing)
        outcome.error = QString::fromLocal8Bit(std::strerror(ENOENT));
    if (!outcome.ok()) {
        m_parts.messages.show(from + QStringLiteral("\n\n") + outcome.error, Critical);
        return false;
    }
    return true;
}

bool FileOperations::copyFile(const QString &from, const QString &to)
{
    const auto copy = [&](bool replace) {
        WidgetHelpers::WaitCursor wait;
        return FileActions::CopyThisFile(from, to, replace);
    };
    Outcome outcome = copy(false);
    if (outcome.result == Result::TargetExists) {
        if (!askReplace(to))
            return false;
        outcome = copy(true);
    }
    if (outcome.result == Result::SourceMissing)
        outcome.error = QString::fromLocal8Bit(std::strerror(ENOENT));
    if (!outcome.ok()) {
        m_parts.messages.show(to + QStringLiteral("\n\n") + outcome.error, Critical);
        return false;
    }
    return true;
}

// Asks, lets the media objects go of the file and moves it to the trash. True when the file
// is gone from its folder.
bool FileOperations::trash(const QString &path)
{
    if (FileActions::FileExists(path)) {
        if (!askTrash(path))
            return false;
        m_parts.media.releaseFiles();
        QString error;
        if (FileActions::RecycleFiles({path}, &error) != 0)
            m_parts.messages.show(path + QStringLiteral("\n\n") + error, Critical);
    }
    WidgetHelpers::pumpEvents();
    return !QFileInfo::exists(path);
}

void FileOperations::explore(const QString &folder)
{
    if (folder.isEmpty())
        return;
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        m_parts.messages.show(
            folder + QStringLiteral("\n\n") + text(1022, "No file manager could open the folder"),
            Critical);
}

void FileOperations::ShowInputFile(const QString &select)
{
    emit inputListChanged();
    if (select.isEmpty())
        return;
    for (int row = 0; row < w.ListInput->count(); ++row) {
        if (pathOfEntry(w.ListInput->item(row)) != select)
            continue;
        const bool events = s.BrowseEventsOn;
        s.BrowseEventsOn = true;
        w.ListInput->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        w.ListInput->scrollToItem(w.ListInput->item(row));
        s.BrowseEventsOn = events;
        return;
    }
}

bool FileOperations::listedAsInput(const QString &path) const
{
    for (int row = 0; row < w.ListInput->count(); ++row)
        if (pathOfEntry(w.ListInput->item(row)) == path)
            return true;
    return false;
}

void FileOperations::removeOutputEntry(const QString &path)
{
    for (int row = 0; row < w.ListOutput->count(); ++row) {
        if (pathOfEntry(w.ListOutput->item(row)) == path) {
            delete w.ListOutput->takeItem(row);
            return;
        }
    }
}

// ---- Rename ---------------------------------------------------------------------------------

void FileOperations::SFRename_Click()
{
    const QString path = currentPath(w.ListInput);
    if (path.isEmpty())
        return;
    const QString RenameText
        = m_parts.renameBox.askNewName(FileNameOfPath(path), placeOf(w.ListInput));
    if (RenameText.isEmpty())
        return;
    const FileActions::RenameTarget target
        = FileActions::RenameTargetOf(RenameText, folderOf(path));
    if (!target.valid)
        return;
    m_parts.media.releaseFiles();
    if (!renameFile(path, target.path))
        return;
    // A file renamed within the folder stays the current one; one typed into another folder
    // has left the list.
    const bool here = target.folder == folderOf(path);
    if (here)
        s.CurrentFile = target.name;
    ShowInputFile(here ? target.path : QString());
}

void FileOperations::SFRenameOut_Click()
{
    const QString path = currentPath(w.ListOutput);
    s.CurrentOutputFile = ListLine::fileNameOf(path);
    if (s.CurrentOutputFile.isEmpty())
        return;
    const QString RenameText
        = m_parts.renameBox.askNewName(s.CurrentOutputFile, placeOf(w.ListOutput));
    if (RenameText.isEmpty())
        return;
    const FileActions::RenameTarget target
        = FileActions::RenameTargetOf(RenameText, folderOf(path));
    if (!target.valid)
        return;
    m_parts.media.releaseFiles();
    if (!renameFile(path, target.path))
        return;

    // The entry follows its file: the name column and the path change, the size stays.
    QListWidgetItem *item = w.ListOutput->currentItem();
    QString line = item->text();
    line.replace(0, std::min<qsizetype>(line.size(), ListLine::NameColumns),
        target.name.left(ListLine::NameColumns)
            .leftJustified(ListLine::NameColumns, QLatin1Char(' ')));
    line = line.left(ListLine::PathColumn - 1) + target.path;
    item->setText(line);
    item->setData(ListLine::PathRole, target.path);
    item->setToolTip(target.name.size() > ListLine::NameColumns
            ? QLatin1Char(' ') + target.name + QLatin1Char(' ')
            : QString());
    s.CurrentOutputFile = target.name;
    if (listedAsInput(path) || target.folder == s.CurrentFolder)
        ShowInputFile(QString());
    emit outputEntryChanged();
}

void FileOperations::renameRequested(bool outputList)
{
    if (outputList)
        SFRenameOut_Click();
    else
        SFRename_Click();
}

// ---- Delete ---------------------------------------------------------------------------------

void FileOperations::SFDelete_Click()
{
    const QString path = currentPath(w.ListInput);
    if (path.isEmpty() || !trash(path))
        return;
    removeOutputEntry(path);
    s.CurrentFile.clear();
    ShowInputFile(QString());
}

void FileOperations::SFDeleteOut_Click()
{
    const QString path = currentPath(w.ListOutput);
    if (path.isEmpty() || !trash(path))
        return;
    const bool alsoInput = listedAsInput(path);
    removeOutputEntry(path);
    if (alsoInput)
        ShowInputFile(QString());
}

void FileOperations::deleteRequested(bool outputList)
{
    if (outputList)
        SFDeleteOut_Click();
    else
        SFDelete_Click();
}

// ---- Move and Save as -----------------------------------------------------------------------

void FileOperations::mnuMove_Click()
{
    const QString path = currentPath(w.ListInput);
    if (path.isEmpty())
        return;
    if (MoveFileToFolder(path) == path)
        return;
    removeOutputEntry(path);
    s.CurrentFile.clear();
    ShowInputFile(QString());
}

QString FileOperations::MoveFileToFolder(const QString &path)
{
    const QString name = FileNameOfPath(path);
    const QString chosen
        = m_parts.folders.pickFolder(text(189, "Choose the folder where MOVE the file") + u' '
                + FileActions::MoveDisplayName(name),
            s.SaveFolder);
    if (chosen.isEmpty())
        return path;
    s.SaveFolder = WithoutTrailingSeparator(chosen);
    const QString target = JoinPath(s.SaveFolder, name);
    if (FileActions::SameEntry(target, path))
        return path;
    m_parts.media.releaseFiles();
    return renameFile(path, target) ? target : path;
}

void FileOperations::mnuSave_Click()
{
    if (currentPath(w.ListInput).isEmpty())
        return;
    SaveCopyOfFile();
    WidgetHelpers::pumpEvents();
    w.cmdTrucco->setFocus();
}

void FileOperations::SaveCopyOfFile()
{
    const QString source = currentPath(w.ListInput);
    const QString file = FileNameOfPath(source);
    const QString type = FileTypeOf(file);
    const FileActions::SaveAsProposal proposal = FileActions::SaveAsProposalFor(
        file, type, s.SaveFolder, s.CurrentFolder, text(382, "All Files"), text(10121, "Copy of"));

    FileDialogRequest request;
    request.DialogTitle = text(383, "Make a Copy of current file") + u' ';
    request.InitDir = s.SaveFolder;
    request.Flags = 1028; // no read-only box, a different extension is reported
    request.Filter = proposal.filter;
    request.FilterIndex = 1;
    request.FileName = proposal.fileName;
    if (!m_parts.fileDialog.ShowOpen(request)) {
        if (!request.Error.isEmpty())
            m_parts.messages.show(request.Error, PlainMessage);
        return;
    }
    const QString name
        = FileActions::SaveAsChosenName(request.FileName, request.FilterIndex, proposal.extension);
    if (name.isEmpty() || FileActions::SameFile(name, source))
        return;
    copyFile(source, name);
    s.SaveFolder = folderOf(name);
    if (s.SaveFolder == s.CurrentFolder)
        ShowInputFile(source);
}

// ---- Explore --------------------------------------------------------------------------------

void FileOperations::mnuExpl_Click()
{
    mnuDirExpl_Click();
}

void FileOperations::mnuDirExpl_Click()
{
    explore(highlightedFolder());
}

void FileOperations::mnuExplOut_Click()
{
    explore(s.OutputFolder);
}

void FileOperations::cmdDir_Click()
{
    explore(s.CurrentFolder);
}

void FileOperations::mnuDirOpen_Click()
{
    emit folderOpenRequested(highlightedFolder());
}

void FileOperations::exploreRequested(bool outputList)
{
    if (outputList)
        mnuExplOut_Click();
    else
        mnuDirExpl_Click();
}
