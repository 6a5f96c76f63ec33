#pragma once
// The help window: the HTML help page of the current language in a text browser. One window;
// asking again brings it to the front with the page reloaded. It first opens centred on the
// window it belongs to, and Esc closes it.

#include <QWidget>

class QTextBrowser;

class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);
    // False when the file cannot be read (the window is then left as it was).
    bool showFile(const QString &path);
    QTextBrowser *browser() const { return m_browser; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void placeOverOwner();

    QTextBrowser *m_browser;
};
