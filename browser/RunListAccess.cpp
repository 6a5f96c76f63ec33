#include "browser/RunListAccess.h"

#include "browser/InputList.h"
#include "browser/ListLine.h"
#include "browser/OutputList.h"
#include "browser/SizeText.h"
#include "core/AppState.h"
#include "core/texts/LocalText.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QSet>

RunListAccess::RunListAccess(QListWidget &listInput, QListWidget &listOutput,
    QAbstractButton &markAll, AppState &state, InputList &input, OutputList &output)
    : ListInput(listInput)
    , ListOutput(listOutput)
    , chkAll(markAll)
    , s(state)
    , m_input(input)
    , m_output(output)
{
}

QStringList RunListAccess::markedPaths() const
{
    QStringList paths;
    for (int row = 0; row < ListInput.count(); ++row)
        if (ListInput.item(row)->isSelected())
            paths << PathOfItem(ListInput.item(row));
    return paths;
}

QString RunListAccess::currentPath() const
{
    return ListInput.currentItem() ? PathOfItem(ListInput.currentItem()) : QString();
}

void RunListAccess::showFile(const QString &path)
{
    for (int row = 0; row < ListInput.count(); ++row) {
        if (PathOfItem(ListInput.item(row)) != path)
            continue;
        {
            const QSignalBlocker quiet(&ListInput);
            ListInput.setCurrentRow(row, QItemSelectionModel::NoUpdate);
        }
        ListInput.scrollToItem(ListInput.item(row));
        refreshCurrent();
        return;
    }
    m_input.showUnlisted(path);
}

void RunListAccess::refreshCurrent()
{
    const bool events = s.BrowseEventsOn;
    s.BrowseEventsOn = true;
    m_input.ListInput_Click();
    s.BrowseEventsOn = events;
}

void RunListAccess::unmark(const QStringList &paths)
{
    const QSet<QString> taken(paths.begin(), paths.end());
    {
        const QSignalBlocker quiet(&ListInput);
        for (int row = 0; row < ListInput.count(); ++row)
            if (taken.contains(PathOfItem(ListInput.item(row))))
                ListInput.item(row)->setSelected(false);
    }
    if (ListInput.selectedItems().isEmpty()) {
        const QSignalBlocker quiet(&chkAll);
        chkAll.setChecked(false);
    }
}

void RunListAccess::clearOutputList()
{
    ListOutput.clear();
}

void RunListAccess::addOutputFile(const QString &path)
{
    m_output.AddOutputFile(path);
    ListOutput.setCurrentRow(ListOutput.count() - 1);
}

void RunListAccess::addInputFile(const QString &path)
{
    // Only while the list shows files of that type, and only in the folder it lists.
    if (QFileInfo(path).absolutePath() != s.CurrentFolder
        || !QDir::match(m_input.filter().patterns, QFileInfo(path).fileName()))
        return;
    const QSignalBlocker quiet(&ListInput);
    for (int row = ListInput.count() - 1; row >= 0; --row)
        if (PathOfItem(ListInput.item(row)) == path)
            delete ListInput.takeItem(row);
    AddListLine(&ListInput,
        ListLine::make(path,
            SizeTextOfLength(QFileInfo(path).size(), LocalText(s, 100, QStringLiteral("bytes"))),
            ListLine::InputSizeEnd),
        path);
}
