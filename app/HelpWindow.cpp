#include "HelpWindow.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>

#include <QVBoxLayout>
#include <algorithm>

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral(" Tonvera - Help"));
    m_browser->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(720, 560);
}

bool HelpWindow::showFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        return false;
    m_browser->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    if (!isVisible())
        placeOverOwner();
    show();
    raise();
    activateWindow();
    return true;
}

void HelpWindow::placeOverOwner()
{
    const QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner)
        return;
    QRect place(QPoint(), size());
    place.moveCenter(owner->frameGeometry().center());
    // Kept on the owner's screen, whatever the owner's size.
    if (const QScreen *screen = owner->screen()) {
        const QRect work = screen->availableGeometry();
        place.moveLeft(std::clamp(
            place.left(), work.left(), std::max(work.left(), work.right() - place.width())));
        place.moveTop(std::clamp(
            place.top(), work.top(), std::max(work.top(), work.bottom() - place.height())));
    }
    move(place.topLeft());
}

void HelpWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
