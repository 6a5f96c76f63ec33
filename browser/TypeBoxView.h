#pragma once
// Shows the entries of the file-type box without their filter codes. The entries keep their
// whole text (the filter reads the code from it); only the painting of the closed box and of
// its drop-down list leaves the code out.

#include <QObject>

class QComboBox;

class TypeBoxView : public QObject
{
    Q_OBJECT

public:
    // Installs itself on the box; lives as long as the box.
    explicit TypeBoxView(QComboBox *box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QComboBox *m_box;
};
