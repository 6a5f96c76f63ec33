#include "core/StatusLine.h"

#include <QFrame>
#include <QLabel>

namespace {
const QString Indent8 = QStringLiteral("        ");

void paintDot(QFrame &dot, const char *colour)
{
    dot.setStyleSheet(
        QStringLiteral("background-color: %1; border-radius: 7px;").arg(QLatin1String(colour)));
    dot.show();
}
} // namespace

StatusLine::StatusLine(QLabel &LabStatus, QLabel &ImgMsg, QFrame &ShaPallino)
    : m_text(LabStatus)
    , m_picture(ImgMsg)
    , m_dot(ShaPallino)
{
}

void StatusLine::clear()
{
    m_text.clear();
    m_fileProblem.clear();
    m_picture.hide();
}

void StatusLine::clearAll()
{
    clear();
    m_dot.hide();
}

void StatusLine::setText(const QString &text)
{
    m_text.setText(text);
    m_fileProblem.clear();
}

QString StatusLine::text() const
{
    return m_text.text();
}

void StatusLine::showWarningPicture(bool on)
{
    m_picture.setVisible(on);
}

void StatusLine::hideDot()
{
    m_dot.hide();
}

void StatusLine::showGreenDot()
{
    paintDot(m_dot, "rgb(32, 160, 32)");
}

void StatusLine::showRedDot()
{
    paintDot(m_dot, "rgb(255, 0, 0)");
}

bool StatusLine::dotShown() const
{
    return !m_dot.isHidden();
}

void StatusLine::showFileProblem(const QString &text)
{
    m_text.setText(Indent8 + text);
    m_fileProblem = m_text.text();
    showRedDot();
}

void StatusLine::clearFileProblem()
{
    if (m_fileProblem.isEmpty())
        return;
    if (m_text.text() == m_fileProblem) {
        m_text.clear();
        m_dot.hide();
    }
    m_fileProblem.clear();
}
