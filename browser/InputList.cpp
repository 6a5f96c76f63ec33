#include "browser/InputList.h"

#include "app/AppState.h"
#include "browser/ListLine.h"
#include "browser/QueueCount.h"
#include "browser/SizeText.h"
#include "browser/SortKeys.h"
#include "browser/WidgetState.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>

using namespace BrowserUi;

InputList::InputList(
    const BrowserWidgets &widgets, AppState &state, const FolderBrowserHooks &hooks)
    : w(widgets)
    , s(state)
    , m_hooks(hooks)
{
}

QString InputList::text(int number, const QString &english) const
{
    return m_hooks.LocalText ? m_hooks.LocalText(number, english) : english;
}

QString InputList::selectFilesCaption() const
{
    return text(112, QStringLiteral("2 - Select files to be converted"));
}

void InputList::selectFile(const QString &path)
{
    if (path.isEmpty() || !w.ListInput)
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

void InputList::fill(const QString &folder)
{
    if (!w.ListInput)
        return;
    pumpEvents();
    if (w.CboType)
        m_filter = TypeFilterOf(w.CboType->currentText());
    QDir dir(folder);
    dir.setNameFilters(m_filter.patterns);
    dir.setFilter(QDir::Files | QDir::Readable);
    // With an order chosen the lines are sorted below; otherwise they keep the name order.
    dir.setSorting(
        SortKeys::isOrder(s.SortOrder) ? QDir::Unsorted : (QDir::Name | QDir::IgnoreCase));
    const QFileInfoList files = m_filter.patterns.isEmpty() ? QFileInfoList() : dir.entryInfoList();

    const QString bytes = text(100, QStringLiteral("bytes"));
    std::vector<SortKeys::Entry> entries;
    entries.reserve(size_t(files.size()));
    for (const QFileInfo &info : files) {
        const QString path = joinPath(s.CurrentFolder, info.fileName());
        if (path == s.TempWavePath || path == s.TempWmaPath)
            continue;
        entries.push_back(
            {ListLine::make(path, SizeTextOfLength(info.size(), bytes), ListLine::InputSizeEnd),
                path, info.size(), info.lastModified()});
    }
    if (entries.empty()) {
        w.ListInput->show();
        // No count of another folder's files stays on show above an empty list.
        s.QueueCount = 0;
        if (w.Lab2)
            w.Lab2->setText(selectFilesCaption());
        if (m_hooks.Clear_Info)
            m_hooks.Clear_Info();
        enable(w.chkAll, false);
        setCutControls(false);
        return;
    }
    enable(w.chkAll, false);
    w.ListInput->setUpdatesEnabled(false);
    SortKeys::sortEntries(s.SortOrder, entries);
    const QSignalBlocker block(w.ListInput);
    for (const SortKeys::Entry &entry : entries)
        AddListLine(w.ListInput, entry.line, entry.path);
    w.ListInput->setCurrentItem(nullptr, QItemSelectionModel::Clear);
    w.ListInput->setUpdatesEnabled(true);
}

// The menu entries of converting and tagging do what their buttons do, so they follow them; a
// window without those buttons keeps the entries off.
void InputList::followButtons()
{
    enable(w.mnuGrab, w.cmdGrab && w.cmdGrab->isEnabled());
    enable(w.mnuTag, w.cmdTag && w.cmdTag->isEnabled());
}

void InputList::setCutControls(bool enabled)
{
    for (QWidget *control : {w.cmdSta, w.cmdFin, w.cmdStaRes, w.cmdFinRes, w.VScrSta, w.VScrFin})
        enable(control, enabled);
}

void InputList::setConvertControls(bool enabled)
{
    enable(w.cmdGrab, enabled);
    enable(w.cmdGrabCut, enabled);
    enable(w.chkCutNam, enabled);
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
    const std::pair<QAction *, const char *> orders[]
        = {{w.mnuOrdName, "A"}, {w.mnuOrdExt, "E"}, {w.mnuOrdDate, "D"}, {w.mnuOrdSize, "S"}};
    for (const auto &[action, order] : orders) {
        if (action) {
            action->setCheckable(true);
            action->setChecked(s.SortOrder == QLatin1String(order));
        }
    }
}

void InputList::SortList()
{
    if (!w.ListInput || !SortKeys::isOrder(s.SortOrder) || w.ListInput->count() == 0)
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
    if (!w.ListInput)
        return;
    const bool markAll = ticked(w.chkAll);
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
        enable(w.cmdGrab, true);
        const bool section = s.CutEndMs > s.CutStartMs;
        enable(w.cmdGrabCut, section);
        enable(w.chkCutNam, section);
        followButtons();
    } else if (!markAll) {
        {
            const QSignalBlocker block(w.ListInput);
            w.ListInput->clearSelection();
        }
        if (w.Lab2)
            w.Lab2->setText(QueueLabel(selectFilesCaption(), 1, count));
    }
    s.BrowseEventsOn = true;
    show(w.ImgMsg, false);
    show(w.ShaPallino, false);
    if (w.LabStatus)
        w.LabStatus->clear();
}

void InputList::ListInput_Click()
{
    if (!s.BrowseEventsOn || !w.ListInput || !w.ListInput->currentItem())
        return;
    enable(w.chkWAV, false);
    enable(w.chkWMA, false);
    s.OutputListActive = false;
    s.BrowseEventsOn = false;
    setCutControls(true);

    s.RunListIndex = w.ListInput->currentRow();
    const QString path = PathOfItem(w.ListInput->currentItem());
    s.CurrentFile = ListLine::fileNameOf(path);
    s.SourcePath = joinPath(s.CurrentFolder, s.CurrentFile);
    s.ClickedFilePath = s.SourcePath;
    if (w.ListOutput) {
        const QSignalBlocker block(w.ListOutput);
        w.ListOutput->clearSelection();
    }
    s.CurrentType = typeOfFile(s.CurrentFile);

    // An empty file still gets the panel (its name, size and date), so that the panel never
    // shows another file's details under it; it counts for nothing and enables nothing.
    if (m_hooks.ShowFileInfo)
        m_hooks.ShowFileInfo(s.SourcePath, s.CurrentType);
    if (QFileInfo(s.SourcePath).size() > 0) {
        for (QWidget *control : {w.cmdPlayCut, w.cmdGrabCut, w.cmdTag, w.LabTag,
                 static_cast<QWidget *>(w.chkCutNam), w.cmdGrab})
            enable(control, false);
        std::vector<QueueEntry> entries;
        entries.reserve(size_t(w.ListInput->count()));
        for (int row = 0; row < w.ListInput->count(); ++row) {
            const QListWidgetItem *item = w.ListInput->item(row);
            entries.push_back({PathOfItem(item), item->isSelected()});
        }
        const QueueCounting counting
            = CountQueue(entries, ticked(w.chkWMA), ticked(w.chkWAV), s.SourcePath);
        if (counting.enableWma)
            enable(w.chkWMA, true);
        if (counting.enableWav)
            enable(w.chkWAV, true);
        s.QueueCount = int16_t(counting.count);

        const bool tagging = s.QueueCount > 1 || s.CurrentType == QLatin1String("MP3");
        enable(w.cmdGrab, s.QueueCount >= 1);
        enable(w.cmdTag, tagging);
        enable(w.LabTag, tagging);
        followButtons();
        enable(w.cmdPlay, true);
        const bool section = m_hooks.CutSectionSet && m_hooks.CutSectionSet();
        enable(w.cmdPlayCut, section);
        enable(w.cmdGrabCut, section);
        enable(w.chkCutNam, section);
        if (w.Lab2)
            w.Lab2->setText(QueueLabel(selectFilesCaption(), s.QueueCount, w.ListInput->count()));
    }
    s.BrowseEventsOn = true;
}

void InputList::showMenu(const QPoint &pos)
{
    if (!w.ListInput)
        return;
    QMenu *menu = w.SFPOPUP;
    if (!menu) {
        if (!m_menu) {
            m_menu = new QMenu(w.ListInput);
            for (QAction *action : {w.mnuPlay, w.mnuStop, w.mnuGrab, w.mnuTag, w.mnuOrder,
                     w.mnuSave, w.mnuMove, w.mnuExpl, w.SFRename, w.SFDelete}) {
                if (action)
                    m_menu->addAction(action);
            }
        }
        menu = m_menu;
    }
    const bool hasCurrent = w.ListInput->currentItem() != nullptr;
    if (hasCurrent)
        ListInput_Click();
    const bool files = hasCurrent && w.ListInput->count() > 0;
    for (QAction *action : {w.mnuPlay, w.mnuStop, w.mnuGrab, w.mnuTag, w.mnuOrder, w.mnuSave,
             w.mnuMove, w.SFRename, w.SFDelete})
        showAction(action, files);
    showAction(w.mnuExpl, true);
    for (QAction *action : {w.mnuExplOut, w.SFRenameOut, w.SFDeleteOut})
        showAction(action, false);
    for (QAction *action : menu->actions()) {
        if (action->isSeparator())
            action->setVisible(files);
    }
    if (w.mnuPlay && files)
        menu->setDefaultAction(w.mnuPlay);
    menu->popup(w.ListInput->viewport()->mapToGlobal(pos));
}
