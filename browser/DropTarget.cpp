#include "browser/DropTarget.h"

#include "browser/DropData.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>

DropTarget::DropTarget(QObject *parent)
    : QObject(parent)
{
}

void DropTarget::watch(QWidget *widget)
{
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
    if (auto *view = qobject_cast<QAbstractItemView *>(widget)) {
        view->viewport()->setAcceptDrops(true);
        view->viewport()->installEventFilter(this);
    }
    if (auto *box = qobject_cast<QComboBox *>(widget); box && box->lineEdit())
        box->lineEdit()->installEventFilter(this);
}

bool DropTarget::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (drag->mimeData() && DropData::canTake(*drag->mimeData())) {
            drag->acceptProposedAction();
            return true;
        }
        return false;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QString path = drop->mimeData() ? DropData::pathOf(*drop->mimeData()) : QString();
        if (path.isEmpty())
            return false;
        drop->acceptProposedAction();
        emit dropped(path);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
