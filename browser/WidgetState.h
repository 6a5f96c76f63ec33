#pragma once
// Small helpers the browser's controllers share: switching optional controls on and off, the
// hourglass, and the path and type rules of the list entries.

#include "browser/PathHistory.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QString>
#include <QWidget>

namespace BrowserUi {

inline void enable(QWidget *widget, bool on)
{
    if (widget)
        widget->setEnabled(on);
}

inline void enable(QAction *action, bool on)
{
    if (action)
        action->setEnabled(on);
}

inline void show(QWidget *widget, bool on)
{
    if (widget)
        widget->setVisible(on);
}

inline void showAction(QAction *action, bool on)
{
    if (action)
        action->setVisible(on);
}

inline bool ticked(const QAbstractButton *box)
{
    return box && box->isChecked();
}

inline void pumpEvents()
{
    QCoreApplication::processEvents();
}

// A folder without its trailing separator; the root stays "/".
inline QString withoutSeparator(QString folder)
{
    while (folder.size() > 1 && (folder.endsWith(QLatin1Char('/'))))
        folder.chop(1);
    return folder;
}

inline QString joinPath(const QString &folder, const QString &name)
{
    return PathHistory::withSeparator(folder) + name;
}

// The hourglass for the life of a handler, restored on every way out.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// The type of a file: its extension in upper case, "WMV" counted as "WMA".
inline QString typeOfFile(const QString &name)
{
    QString tail = name.right(4);
    const qsizetype dot = tail.lastIndexOf(QLatin1Char('.'));
    tail = dot >= 0 ? tail.mid(dot + 1).toUpper() : QString();
    return tail == QLatin1String("WMV") ? QStringLiteral("WMA") : tail;
}

} // namespace BrowserUi
