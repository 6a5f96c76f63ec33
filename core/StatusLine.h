#pragma once
// One owner for the status line of the main window: the text LabStatus, the warning picture
// ImgMsg and the coloured dot ShaPallino (green: done, red: this file cannot be converted).

#include <QString>

class QFrame;
class QLabel;

class StatusLine
{
public:
    StatusLine(QLabel &LabStatus, QLabel &ImgMsg, QFrame &ShaPallino);

    // Empties the text and hides the warning picture (the dot stays as it is).
    void clear();
    // clear(), and the dot goes too.
    void clearAll();
    void setText(const QString &text);
    QString text() const;

    void showWarningPicture(bool on);
    void hideDot();
    void showGreenDot();
    void showRedDot();
    bool dotShown() const;

    // The current file cannot be converted: its reason on the line and the red dot. The next
    // file shown takes the reason away again (clearFileProblem).
    void showFileProblem(const QString &text);
    void clearFileProblem();

private:
    QLabel &m_text;
    QLabel &m_picture;
    QFrame &m_dot;
    QString m_fileProblem; // the text showFileProblem put on the line, while it is there
};
