#include "browser/InputList.h"

#include "browser/InfoPanel.h"
#include "browser/ListLine.h"
#include "browser/QueueCount.h"
#include "browser/SizeText.h"
#include "browser/SortKeys.h"
#include "core/AppState.h"
#include "core/MainCommands.h"
#include "core/PathHelpers.h"
#include "core/StatusLine.h"
#include "core/WidgetHelpers.h"
#include "core/WorkFiles.h"
#include "core/texts/LocalText.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>

InputList::InputList(const BrowserWidgets &widgets, AppState &state, MainCommands &commands,
    StatusLine &status, InfoPanel &panel)
    : w(widgets)
    , s(state)
    , m_commands(commands)
    , m_status(status)
    , m_panel(panel)
{
}

QString InputList::selectFilesCaption() const
{
    return LocalText(s, 112, QStringLiteral("2 - Select files to be converted"));
}

QList<QAction *> InputList::orderActions() const
{
    return {w.mnuOrdName, w.mnuOrdExt, w.mnuOrdDate, w.mnuOrdSize};
}

void InputList::selectFile(const QString &path)
{
    if (path.isEmpty())
        return;
    for (int row = 0; row < w.ListInput->count(); ++row) {
        if (PathOfItem(w.ListInput->item(row)) != path)
            continue;
        s.BrowseEventsOn = false;
        w.ListInput->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        w.ListInput->scrollToItem(w.ListInput->item(row));
        s.BrowseEventsOn = true;
        ListInput_Click();
        return;
    }
}

void InputList::showUnlisted(const QString &path)
{
    s.CurrentFile = ListLine::fileNameOf(path);
    s.SourcePath = path;
    s.ClickedFilePath = path;
    s.CurrentType = FileTypeOf(s.CurrentFile);
    m_panel.ShowCurrentFile(path, s.CurrentType);
    emit currentFileShown();
}

void InputList::fill(const QString &folder)
{
    WidgetHelpers::pumpEvents();
    m_filter = TypeFilterOf(w.CboType->currentText());
    QDir dir(folder);
    dir.setNameFilters(m_filter.patterns);
    dir.setFilter(QDir::Files | QDir::Readable);
    // With an order chosen the lines are sorted below; otherwise they keep the name order.
    dir.setSorting(
        SortKeys::isOrder(s.SortOrder) ? QDir::Unsorted : (QDir::Name | QDir::IgnoreCase));
    const QFileInfoList files = m_filter.patterns.isEmpty() ? QFileInfoList() : dir.entryInfoList();

    const QString bytes = LocalText(s, 100, QStringLiteral("bytes"));
    std::vector<SortKeys::Entry> entries;
    entries.reserve(size_t(files.size()));
    for (const QFileInfo &info : files) {
        // Every line names the folder it was listed from.
        const QString path = JoinPath(folder, info.fileName());
        if (IsConversionTemporary(info.fileName()))
            continue;
        entries.push_back(
            {ListLine::make(path, SizeTextOfLength(info.size(), bytes), ListLine::InputSizeEnd),
                path, info.size(), info.lastModified()});
    }
    if (entries.empty()) {
        w.ListInput->show();
        // No count of another folder's files stays on show above an empty list.
        s.QueueCount = 0;
        w.Lab2->setText(selectFilesCaption());
        m_panel.Clear_Info();
        w.chkAll->setEnabled(false);
        m_commands.setSectionControls(false);
        return;
    }
    w.chkAll->setEnabled(false);
    w.ListInput->setUpdatesEnabled(false);
    SortKeys::sortEntries(s.SortOrder, entries);
    const QSignalBlocker block(w.ListInput);
    for (const SortKeys::Entry &entry : entries)
        AddListLine(w.ListInput, entry.line, entry.path);
    w.ListInput->setCurrentItem(nullptr, QItemSelectionModel::Clear);
    w.ListInput->setUpdatesEnabled(true);
}

// ---- Order -----------------------------------------------------------------------------------

void InputList::SetSortOrder(const QString &order)
{
    s.SortOrder = order;
    SortList();
    UpdateOrderChecks();
}

void InputList::UpdateOrderChecks()
{
    const QList<QAction *> actions = orderActions();
    for (qsizetype i = 0; i < actions.size(); ++i) {
        actions[i]->setCheckable(true);
        actions[i]->setChecked(s.SortOrder == QLatin1String(SortKeys::Orders[i]));
    }
}

void InputList::SortList()
{
    if (!SortKeys::isOrder(s.SortOrder) || w.ListInput->count() == 0)
        return;
    // The marks and the current entry stay with their files, not with their rows.
    std::vector<SortKeys::Entry> entries;
    QStringList marked;
    const QString current = PathOfItem(w.ListInput->currentItem());
    for (int row = 0; row < w.ListInput->count(); ++row) {
        const QListWidgetItem *item = w.ListInput->item(row);
        const QString path = PathOfItem(item);
        const QFileInfo info(path);
        entries.push_back({item->text(), path, info.size(), info.lastModified()});
        if (item->isSelected())
            marked.append(path);
    }
    SortKeys::sortEntries(s.SortOrder, entries);
    const bool events = s.BrowseEventsOn;
    s.BrowseEventsOn = false;
    {
        const QSignalBlocker block(w.ListInput);
        w.ListInput->setUpdatesEnabled(false);
        w.ListInput->clear();
        for (const SortKeys::Entry &entry : entries) {
            QListWidgetItem *item = AddListLine(w.ListInput, entry.line, entry.path);
            if (entry.path == current)
                w.ListInput->setCurrentItem(item, QItemSelectionModel::NoUpdate);
            if (marked.contains(entry.path))
                item->setSelected(true);
        }
        w.ListInput->setUpdatesEnabled(true);
    }
    s.BrowseEventsOn = events;
}

// ---- Marking and the current file ------------------------------------------------------------

void InputList::chkAll_Click()
{
    const bool markAll = w.chkAll->isChecked();
    s.BrowseEventsOn = false;
    const int count = w.ListInput->count();
    if (markAll && count > 0) {
        {
            const QSignalBlocker block(w.ListInput);
            w.ListInput->selectAll();
            w.ListInput->item(count - 1)->setSelected(false);
        }
        // Marking the last entry with the handlers on runs the counting. The counting needs a
        // current entry: after a type change there is none, and the last entry becomes it.
        s.BrowseEventsOn = true;
        QListWidgetItem *last = w.ListInput->item(count - 1);
        if (w.ListInput->currentItem())
            last->setSelected(true);
        else
            w.ListInput->setCurrentItem(last, QItemSelectionModel::Select);
        m_commands.set(MainCommand::Convert, true);
        m_commands.set(MainCommand::ConvertSection, s.Cut.isSet());
    } else if (!markAll) {
        {
            const QSignalBlocker block(w.ListInput);
            w.ListInput->clearSelection();
        }
        w.Lab2->setText(QueueLabel(selectFilesCaption(), 1, count));
    }
    s.BrowseEventsOn = true;
    m_status.clearAll();
}

void InputList::ListInput_Click()
{
    if (!s.BrowseEventsOn || !w.ListInput->currentItem())
        return;
    w.chkWAV->setEnabled(false);
    w.chkWMA->setEnabled(false);
    s.OutputListActive = false;
    s.BrowseEventsOn = false;
    m_commands.setSectionControls(true);

    s.RunListIndex = w.ListInput->currentRow();
    const QString path = PathOfItem(w.ListInput->currentItem());
    s.CurrentFile = ListLine::fileNameOf(path);
    s.SourcePath = path;
    s.ClickedFilePath = s.SourcePath;
    {
        const QSignalBlocker block(w.ListOutput);
        w.ListOutput->clearSelection();
    }
    s.CurrentType = FileTypeOf(s.CurrentFile);

    // An empty file still gets the panel (its name, size and date), so that the panel never
    // shows another file's details under it; it counts for nothing and enables nothing.
    m_panel.ShowCurrentFile(s.SourcePath, s.CurrentType);
    if (QFileInfo(s.SourcePath).size() > 0) {
        m_commands.set(MainCommand::PlaySection, false);
        m_commands.setConvertCommands(false);
        m_commands.set(MainCommand::Tag, false);
        std::vector<QueueEntry> entries;
        entries.reserve(size_t(w.ListInput->count()));
        for (int row = 0; row < w.ListInput->count(); ++row) {
            const QListWidgetItem *item = w.ListInput->item(row);
            entries.push_back({PathOfItem(item), item->isSelected()});
        }
        const QueueCounting counting
            = CountQueue(entries, w.chkWMA->isChecked(), w.chkWAV->isChecked(), s.SourcePath);
        if (counting.enableWma)
            w.chkWMA->setEnabled(true);
        if (counting.enableWav)
            w.chkWAV->setEnabled(true);
        s.QueueCount = int16_t(counting.count);

        m_commands.set(MainCommand::Convert, s.QueueCount >= 1);
        m_commands.set(MainCommand::Tag, s.QueueCount > 1 || s.CurrentType == QLatin1String("MP3"));
        m_commands.set(MainCommand::Play, true);
        m_commands.setSectionCommands(s.Cut.isSet());
        w.Lab2->setText(QueueLabel(selectFilesCaption(), s.QueueCount, w.ListInput->count()));
    }
    s.BrowseEventsOn = true;
    emit currentFileShown();
}

void InputList::showMenu(const QPoint &pos)
{
    QMenu *menu = w.SFPOPUP;
    const bool hasCurrent = w.ListInput->currentItem() != nullptr;
    if (hasCurrent)
        ListInput_Click();
    const bool files = hasCurrent && w.ListInput->count() > 0;
    for (QAction *action : {w.mnuPlay, w.mnuStop, w.mnuGrab, w.mnuTag, w.mnuOrder, w.mnuSave,
             w.mnuMove, w.SFRename, w.SFDelete})
        action->setVisible(files);
    w.mnuExpl->setVisible(true);
    for (QAction *action : {w.mnuExplOut, w.SFRenameOut, w.SFDeleteOut})
        action->setVisible(false);
    for (QAction *action : menu->actions()) {
        if (action->isSeparator())
            action->setVisible(files);
    }
    if (files)
        menu->setDefaultAction(w.mnuPlay);
    menu->popup(w.ListInput->viewport()->mapToGlobal(pos));
}
