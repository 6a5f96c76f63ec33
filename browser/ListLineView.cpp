#include "browser/ListLineView.h"

#include "browser/ListLine.h"

QString ListLineView::displayText(const QVariant &value, const QLocale &locale) const
{
    return QStyledItemDelegate::displayText(value, locale).left(ListLine::PathColumn - 1);
}
