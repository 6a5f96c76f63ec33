#pragma once
// Keeps the folder tree's current folder in sight. The file-system model reads and sorts
// folders in the background, so rows that arrive above the folder push it out of view, and a
// deep folder is indented beyond the tree's width. Until the user moves around in the tree
// himself, the tree follows the folder the program put there, sideways too. A right click
// highlights the folder under the mouse for the folder menu without choosing it.

#include <QObject>
#include <QString>

class QFileSystemModel;
class QModelIndex;
class QTreeView;

class FolderTreeView : public QObject
{
    Q_OBJECT

public:
    // Sizes the tree's folder column to its names (never narrower than the tree) and watches
    // the tree for the user's own moves. Lives as long as the tree.
    FolderTreeView(QTreeView *tree, QFileSystemModel *model);

    // Shows folder (already the tree's current entry) and follows it while the tree loads.
    void follow(const QString &folder);
    // The highlight back on the current folder, once the folder menu has gone.
    void highlightCurrent();

signals:
    // A right click (or the menu key) on the tree: the folder menu opens at globalPos for the
    // highlighted folder. The click never changes the folder.
    void menuRequested(const QPoint &globalPos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showFolder();
    void highlight(const QModelIndex &index);

    QTreeView *m_tree;
    QFileSystemModel *m_model;
    QString m_folder;
    bool m_following = false;
};
