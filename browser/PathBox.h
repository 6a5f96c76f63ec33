#pragma once
// The path box CboURL: the folder history it lists, the completion of what the user types from
// that history, and clearing the history.

#include <QObject>
#include <QString>
#include <QStringList>

struct AppState;
class HistoryStore;
class MessageBoxService;
class QAbstractButton;
class QComboBox;

class PathBox : public QObject
{
    Q_OBJECT
public:
    PathBox(QComboBox &CboURL, QAbstractButton &cmdClear, AppState &state, HistoryStore &history,
        MessageBoxService &messages, QObject *parent = nullptr);

    // Loads the folder history into the box and shows CurrentFolder selected.
    void Carica_URL();
    // Puts folder first in the history and reloads the box, keeping what it shows.
    void Inserisci_URL(const QString &folder);
    // Shows text without running the completion on it.
    void setTextQuietly(const QString &text);
    // Removes the entry of folder (a folder that could not be opened) and empties the text.
    void forget(const QString &folder);
    QString text() const;

    void cmdClear_Click();
    void CboURL_Change();

    // While set, edits of the box text do not run the completion.
    void setGuard(bool on) { m_guard = on; }

private:
    QStringList entries() const;

    QComboBox &CboURL;
    QAbstractButton &cmdClear;
    AppState &s;
    HistoryStore &m_history;
    MessageBoxService &m_messages;
    int m_length = 0; // length of the text at the last completion
    bool m_guard = false;
};
