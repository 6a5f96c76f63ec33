#pragma once
// A label for texts of any length (file names, tag texts, status messages): each line that does
// not fit is cut with "…" and the whole text shows as the tooltip. Its size hint does not grow
// with the text, so a long name never widens the window. text() stays the whole text.

#include <QLabel>

class ElidedLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The text as painted now: every line cut to the label's width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_ownToolTip; // the tooltip this label set for a cut text
};
