#include "core/ElidedLabel.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

ElidedLabel::ElidedLabel(QWidget *parent)
    : QLabel(parent)
{
    setSizePolicy(QSizePolicy::Ignored, sizePolicy().verticalPolicy());
}

QSize ElidedLabel::sizeHint() const
{
    // As tall as the text needs, as wide as a short name: the layout decides the width.
    const QSize hint = QLabel::sizeHint();
    return {std::min(hint.width(), fontMetrics().averageCharWidth() * 12), hint.height()};
}

QSize ElidedLabel::minimumSizeHint() const
{
    return {0, QLabel::minimumSizeHint().height()};
}

QString ElidedLabel::shownText() const
{
    const int width = contentsRect().width() - 2 * margin() - 2 * indent();
    QStringList lines = text().split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = fontMetrics().elidedText(line, Qt::ElideRight, std::max(width, 0));
    return lines.join(QLatin1Char('\n'));
}

void ElidedLabel::paintEvent(QPaintEvent *event)
{
    if (textFormat() == Qt::RichText
        || (textFormat() == Qt::AutoText && Qt::mightBeRichText(text())) || !pixmap().isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    const QString shown = shownText();
    const bool cut = shown != text();
    // The whole text as tooltip while it is cut; a tooltip set by others stays theirs.
    if (cut && toolTip() != text()) {
        if (toolTip().isEmpty() || toolTip() == m_ownToolTip) {
            m_ownToolTip = text();
            setToolTip(text());
        }
    } else if (!cut && !m_ownToolTip.isEmpty() && toolTip() == m_ownToolTip) {
        setToolTip(QString());
        m_ownToolTip.clear();
    }

    QPainter painter(this);
    drawFrame(&painter);
    QStyleOption option;
    option.initFrom(this);
    const QRect area
        = contentsRect().adjusted(margin() + indent(), margin(), -margin() - indent(), -margin());
    style()->drawItemText(
        &painter, area, int(alignment()), option.palette, isEnabled(), shown, foregroundRole());
}
