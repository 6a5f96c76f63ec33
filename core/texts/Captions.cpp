#include "core/texts/Captions.h"

#include "core/texts/LocalText.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QWidget>

namespace {

QObject *findTarget(QWidget *window, const char *name)
{
    if (name == nullptr || *name == '\0')
        return window;
    return window->findChild<QObject *>(QLatin1String(name));
}

// The caption of an object, whatever kind of control carries it.
QString captionOf(QObject *object)
{
    if (auto *action = qobject_cast<QAction *>(object))
        return action->text();
    if (auto *menu = qobject_cast<QMenu *>(object))
        return menu->title();
    if (auto *button = qobject_cast<QAbstractButton *>(object))
        return button->text();
    if (auto *label = qobject_cast<QLabel *>(object))
        return label->text();
    if (auto *group = qobject_cast<QGroupBox *>(object))
        return group->title();
    if (auto *widget = qobject_cast<QWidget *>(object))
        return widget->windowTitle();
    return {};
}

void setCaption(QObject *object, const QString &caption)
{
    if (auto *action = qobject_cast<QAction *>(object))
        action->setText(caption);
    else if (auto *menu = qobject_cast<QMenu *>(object))
        menu->setTitle(caption);
    else if (auto *button = qobject_cast<QAbstractButton *>(object))
        button->setText(caption);
    else if (auto *label = qobject_cast<QLabel *>(object))
        label->setText(caption);
    else if (auto *group = qobject_cast<QGroupBox *>(object))
        group->setTitle(caption);
    else if (auto *widget = qobject_cast<QWidget *>(object))
        widget->setWindowTitle(caption);
}

void setAccessibleNames(QWidget *widget, const QString &name)
{
    widget->setAccessibleName(name);
    // An editable box's text field is a control of its own to a screen reader.
    if (auto *box = qobject_cast<QComboBox *>(widget); box && box->lineEdit())
        box->lineEdit()->setAccessibleName(name);
}

QString decorated(const CaptionEntry &entry, const QString &text)
{
    switch (entry.decoration) {
    case CaptionDecoration::WindowTitle:
        return QStringLiteral(" Tonvera - ") + text;
    case CaptionDecoration::Padded:
        return QLatin1Char(' ') + text + QLatin1Char(' ');
    case CaptionDecoration::AccessKey:
        return QLatin1Char('&') + text;
    case CaptionDecoration::None:
    case CaptionDecoration::Copied:
    case CaptionDecoration::AccessibleName:
        break;
    }
    return text;
}

} // namespace

void ApplyCaptions(QWidget *window, const AppState &state)
{
    if (window == nullptr)
        return;
    for (const CaptionEntry &entry : CaptionTable(window->objectName())) {
        QObject *target = findTarget(window, entry.object);
        if (target == nullptr)
            continue;
        if (entry.decoration == CaptionDecoration::Copied) {
            if (QObject *source = findTarget(window, entry.copyFrom))
                setCaption(target, captionOf(source));
            continue;
        }
        const QString text = LocalText(state, entry.number, QString::fromUtf8(entry.english));
        if (entry.decoration == CaptionDecoration::AccessibleName) {
            if (auto *widget = qobject_cast<QWidget *>(target))
                setAccessibleNames(widget, text);
            continue;
        }
        if (entry.decoration == CaptionDecoration::WindowTitle && target == window)
            window->setWindowTitle(decorated(entry, text));
        else
            setCaption(target, decorated(entry, text));
    }
}

void ApplyTooltips(QWidget *window, const AppState &state)
{
    if (window == nullptr)
        return;
    for (const TooltipEntry &entry : TooltipTable(window->objectName())) {
        QObject *target = findTarget(window, entry.object);
        const QString text = LocalText(state, entry.number, QString::fromUtf8(entry.english));
        const QString tip = QLatin1Char(' ') + text + QLatin1Char(' ');
        if (auto *action = qobject_cast<QAction *>(target)) {
            action->setToolTip(tip);
        } else if (auto *widget = qobject_cast<QWidget *>(target)) {
            widget->setToolTip(tip);
            // A control that shows no caption (an icon button, a box) is named by its tooltip,
            // so that a screen reader can say what it is, in the current language.
            if (captionOf(widget).isEmpty())
                setAccessibleNames(widget, text);
        }
    }
    window->update();
}
