#include "browser/TypeBoxView.h"

#include "browser/TypeFilter.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QStylePainter>
#include <QStyledItemDelegate>

namespace {

class VisibleTextDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QString displayText(const QVariant &value, const QLocale &locale) const override
    {
        return VisibleTypeText(QStyledItemDelegate::displayText(value, locale));
    }
};

} // namespace

TypeBoxView::TypeBoxView(QComboBox *box)
    : QObject(box)
    , m_box(box)
{
    box->setItemDelegate(new VisibleTextDelegate(box));
    box->installEventFilter(this);
}

bool TypeBoxView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_box || event->type() != QEvent::Paint || m_box->isEditable())
        return QObject::eventFilter(watched, event);
    // The closed box paints as QComboBox does, with the shortened text.
    QStylePainter painter(m_box);
    QStyleOptionComboBox option;
    option.initFrom(m_box);
    option.editable = false;
    option.frame = m_box->hasFrame();
    option.currentText = VisibleTypeText(m_box->currentText());
    option.currentIcon = m_box->itemIcon(m_box->currentIndex());
    option.iconSize = m_box->iconSize();
    if (m_box->hasFocus())
        option.state |= QStyle::State_Selected;
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    return true;
}
