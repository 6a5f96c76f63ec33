#include "browser/ListLine.h"

#include <QListWidget>

void Aggiungi_Playlist(QListWidget *list, const QString &path, const QString &sizeText, int sizeEnd)
{
    const QString line = ListLine::make(path, sizeText, sizeEnd);
    if (sizeEnd == ListLine::OutputSizeEnd) {
        // The same file once: matched by its whole path, since a match on part of the name
        // would also drop other files whose names contain this one ("a.wma" in "data.wma").
        for (int row = list->count() - 1; row >= 0; --row) {
            if (PathOfItem(list->item(row)) == path)
                delete list->takeItem(row);
        }
    }
    AddListLine(list, line, path);
}

QListWidgetItem *AddListLine(QListWidget *list, const QString &line, const QString &path)
{
    auto *item = new QListWidgetItem(line);
    item->setData(ListLine::PathRole, path);
    const QString name = ListLine::fileNameOf(path);
    if (name.size() > ListLine::NameColumns)
        item->setToolTip(QLatin1Char(' ') + name + QLatin1Char(' '));
    list->addItem(item);
    return item;
}

QString PathOfItem(const QListWidgetItem *item)
{
    if (!item)
        return QString();
    const QVariant stored = item->data(ListLine::PathRole);
    if (stored.isValid())
        return stored.toString();
    return ListLine::pathOf(item->text());
}
