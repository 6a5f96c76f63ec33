#pragma once
// The input list of the browser: filling it from a folder, its orders, marking, the current file
// with the counting of what a conversion would take, and its popup menu.

#include "browser/FolderBrowser.h"

#include <QString>

struct AppState;
class QMenu;
class QPoint;

class InputList
{
public:
    // hooks stays owned by the browser, so hooks set later are seen here too.
    InputList(const BrowserWidgets &widgets, AppState &state, const FolderBrowserHooks &hooks);

    // Lists the files of folder that match the type box (hidden while filled, sorted once).
    void fill(const QString &folder);
    // Makes the entry of path current (as a click would); nothing when it is not listed.
    void selectFile(const QString &path);

    void SetSortOrder(const QString &order);
    void UpdateOrderChecks();
    void SortList();
    void chkAll_Click();
    void ListInput_Click();
    void showMenu(const QPoint &pos);

    void followButtons();
    void setCutControls(bool enabled);
    void setConvertControls(bool enabled);
    const TypeFilter &filter() const { return m_filter; }

private:
    QString text(int number, const QString &english) const;
    QString selectFilesCaption() const; // the list caption before its count

    BrowserWidgets w;
    AppState &s;
    const FolderBrowserHooks &m_hooks;
    TypeFilter m_filter;
    QMenu *m_menu = nullptr;
};
