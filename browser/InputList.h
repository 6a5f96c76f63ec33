#pragma once
// The input list of the browser: filling it from a folder, its orders, marking, the current file
// with the counting of what a conversion would take, and its popup menu.

#include "browser/FolderBrowser.h"

#include <QList>
#include <QObject>
#include <QString>

struct AppState;
class InfoPanel;
class MainCommands;
class QAction;
class QPoint;
class StatusLine;

class InputList : public QObject
{
    Q_OBJECT
public:
    InputList(const BrowserWidgets &widgets, AppState &state, MainCommands &commands,
        StatusLine &status, InfoPanel &panel);

    // Lists the files of folder that match the type box (hidden while filled, sorted once).
    void fill(const QString &folder);
    // Makes the entry of path current (as a click would); nothing when it is not listed.
    void selectFile(const QString &path);
    // Makes a file the list does not show the current file, with its details in the panel,
    // as a click on its entry would.
    void showUnlisted(const QString &path);

    void SetSortOrder(const QString &order);
    void UpdateOrderChecks();
    void SortList();
    void chkAll_Click();
    void ListInput_Click();
    void showMenu(const QPoint &pos);

    // The order entries, in the order of SortKeys::Orders.
    QList<QAction *> orderActions() const;
    const TypeFilter &filter() const { return m_filter; }

signals:
    // A file became current and the panel shows it (its rates and length are known).
    void currentFileShown();

private:
    QString selectFilesCaption() const; // the list caption before its count

    BrowserWidgets w;
    AppState &s;
    MainCommands &m_commands;
    StatusLine &m_status;
    InfoPanel &m_panel;
    TypeFilter m_filter;
};
