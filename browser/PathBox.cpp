#include "browser/PathBox.h"

#include "browser/PathHistory.h"
#include "core/AppState.h"
#include "core/PathHelpers.h"
#include "core/Services.h"
#include "core/WidgetHelpers.h"
#include "core/texts/LocalText.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

namespace {
constexpr int No = 7;
constexpr int YesNoQuestionNoDefault = 292;
} // namespace

PathBox::PathBox(QComboBox &CboURL, QAbstractButton &cmdClear, AppState &state,
    HistoryStore &history, MessageBoxService &messages, QObject *parent)
    : QObject(parent)
    , CboURL(CboURL)
    , cmdClear(cmdClear)
    , s(state)
    , m_history(history)
    , m_messages(messages)
{
    CboURL.setEditable(true);
    CboURL.setInsertPolicy(QComboBox::NoInsert);
    connect(&CboURL, &QComboBox::editTextChanged, this, [this] { CboURL_Change(); });
    connect(&cmdClear, &QAbstractButton::clicked, this, [this] { cmdClear_Click(); });
}

QString PathBox::text() const
{
    return CboURL.currentText();
}

QStringList PathBox::entries() const
{
    QStringList list;
    for (int i = 0; i < CboURL.count(); ++i)
        list.append(CboURL.itemText(i));
    return list;
}

void PathBox::Carica_URL()
{
    const QStringList history = PathHistory::load(m_history);
    m_guard = true;
    CboURL.clear();
    CboURL.addItems(history);
    CboURL.setEditText(s.CurrentFolder);
    if (QLineEdit *edit = CboURL.lineEdit())
        edit->selectAll();
    m_guard = false;
    m_length = int(s.CurrentFolder.size());
    cmdClear.setEnabled(!history.isEmpty());
}

void PathBox::setTextQuietly(const QString &text)
{
    const bool guard = m_guard;
    m_guard = true;
    CboURL.setEditText(text);
    m_guard = guard;
    m_length = int(text.size());
}

void PathBox::Inserisci_URL(const QString &folder)
{
    if (folder.isEmpty())
        return;
    PathHistory::insert(m_history, entries(), WithoutTrailingSeparator(folder));
    const QString shown = CboURL.currentText();
    Carica_URL();
    setTextQuietly(shown);
    cmdClear.setEnabled(true);
}

void PathBox::forget(const QString &folder)
{
    const QString bare = WithoutTrailingSeparator(folder);
    for (int i = 0; i < CboURL.count(); ++i) {
        if (CboURL.itemText(i).compare(folder, Qt::CaseInsensitive) == 0
            || CboURL.itemText(i).compare(bare, Qt::CaseInsensitive) == 0) {
            CboURL.removeItem(i);
            break;
        }
    }
    setTextQuietly(QString());
}

void PathBox::cmdClear_Click()
{
    const QString question = LocalText(s, 10310, QStringLiteral("Clear Path box ?"));
    if (m_messages.show(question, YesNoQuestionNoDefault) == No)
        return;
    cmdClear.setEnabled(false);
    PathHistory::clear(m_history, entries());
    const QString shown = CboURL.currentText();
    m_guard = true;
    CboURL.clear();
    CboURL.setEditText(shown);
    m_guard = false;
}

void PathBox::CboURL_Change()
{
    if (!s.BrowseEventsOn || m_guard)
        return;
    const QString typed = CboURL.currentText().trimmed();
    const int n = int(typed.size());
    if (n < m_length) {
        m_length = n; // the user deleted characters: no completion now
        return;
    }
    m_guard = true;
    WidgetHelpers::pumpEvents();
    if (const auto completed = PathHistory::complete(entries(), typed)) {
        CboURL.setEditText(*completed);
        if (QLineEdit *edit = CboURL.lineEdit())
            edit->setSelection(n, int(completed->size()) - n);
        m_length = int(completed->size());
    } else {
        m_length = n;
    }
    m_guard = false;
    WidgetHelpers::pumpEvents();
}
