#pragma once
// Paints the input and output list lines up to their size column only. The lines keep the
// full path from column 60 (the handlers read it back), but a widened list must not show it.

#include <QStyledItemDelegate>

class ListLineView : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QString displayText(const QVariant &value, const QLocale &locale) const override;
};
