#include "browser/FolderTreeView.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTreeView>

FolderTreeView::FolderTreeView(QTreeView *tree, QFileSystemModel *model)
    : QObject(tree)
    , m_tree(tree)
    , m_model(model)
{
    tree->header()->setStretchLastSection(false);
    tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    connect(model, &QFileSystemModel::directoryLoaded, this, [this] { showFolder(); });
    connect(model, &QAbstractItemModel::layoutChanged, this, [this] { showFolder(); });
    connect(model, &QAbstractItemModel::rowsInserted, this, [this] { showFolder(); });
    for (QScrollBar *bar : {tree->verticalScrollBar(), tree->horizontalScrollBar()})
        connect(bar, &QAbstractSlider::actionTriggered, this, [this] { m_following = false; });
    tree->installEventFilter(this);
    tree->viewport()->installEventFilter(this);
}

void FolderTreeView::follow(const QString &folder)
{
    m_folder = folder;
    m_following = true;
    showFolder();
}

void FolderTreeView::highlightCurrent()
{
    highlight(m_tree->currentIndex());
}

void FolderTreeView::highlight(const QModelIndex &index)
{
    if (index.isValid())
        m_tree->selectionModel()->select(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void FolderTreeView::showFolder()
{
    if (!m_following || m_folder.isEmpty())
        return;
    const QModelIndex index = m_model->index(m_folder);
    if (!index.isValid())
        return;
    m_tree->scrollTo(index, QAbstractItemView::PositionAtCenter);
    QScrollBar *bar = m_tree->horizontalScrollBar();
    const int width = m_tree->viewport()->width();
    const int left = m_tree->visualRect(index).left() + bar->value();
    const int nameEnd = left + m_tree->iconSize().width() + 8
        + m_tree->fontMetrics().horizontalAdvance(index.data().toString());
    // Keep the branch arrow of the folder in sight, left of its name.
    bar->setValue(nameEnd > width ? left - m_tree->indentation() : 0);
    m_tree->viewport()->update();
}

bool FolderTreeView::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
            // The view would make the row under the mouse current, which lists that folder; the
            // menu acts on that folder, so it is only highlighted.
            if (event->type() == QEvent::MouseButtonPress) {
                const auto *mouse = static_cast<QMouseEvent *>(event);
                const QModelIndex under = watched == m_tree->viewport()
                    ? m_tree->indexAt(mouse->position().toPoint())
                    : QModelIndex();
                highlight(under.isValid() ? under : m_tree->currentIndex());
                emit menuRequested(mouse->globalPosition().toPoint());
            }
            return true;
        }
        m_following = false;
        break;
    case QEvent::ContextMenu: {
        // The menu key: the menu opens at the current folder.
        auto *menu = static_cast<QContextMenuEvent *>(event);
        if (menu->reason() != QContextMenuEvent::Mouse) {
            highlightCurrent();
            const QRect row = m_tree->visualRect(m_tree->currentIndex());
            emit menuRequested(
                m_tree->viewport()->mapToGlobal(row.isValid() ? row.center() : QPoint(0, 0)));
        }
        return true;
    }
    case QEvent::Resize:
        // The highlight of the current folder runs across the whole row.
        if (watched == m_tree->viewport())
            m_tree->header()->setMinimumSectionSize(m_tree->viewport()->width());
        break;
    case QEvent::KeyPress:
    case QEvent::Wheel:
        m_following = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
