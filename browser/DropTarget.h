#pragma once
// Takes files and folders dropped from a file manager on any of the watched controls
// (file:// URLs or plain-text paths) and hands the first path on.

#include <QObject>
#include <QString>

class QWidget;

class DropTarget : public QObject
{
    Q_OBJECT
public:
    explicit DropTarget(QObject *parent = nullptr);

    // Lets widget (and its view port or line edit) take drops.
    void watch(QWidget *widget);

signals:
    void dropped(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
