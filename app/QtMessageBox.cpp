#include "QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {
struct ButtonChoice
{
    QMessageBox::StandardButton button;
    int result;
};
} // namespace

int QtMessageBox::show(const QString &text, int flags)
{
    QMessageBox box(m_owner);
    box.setWindowTitle(QStringLiteral(" Tonvera"));
    box.setText(text);
    switch (flags & 0x70) {
    case 16:
        box.setIcon(QMessageBox::Critical);
        break;
    case 32:
        box.setIcon(QMessageBox::Question);
        break;
    case 48:
        box.setIcon(QMessageBox::Warning);
        break;
    case 64:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }

    QList<ButtonChoice> buttons;
    int escapeResult = 2;
    switch (flags & 0x7) {
    case 1:
        buttons = {{QMessageBox::Ok, 1}, {QMessageBox::Cancel, 2}};
        break;
    case 2:
        buttons = {{QMessageBox::Abort, 3}, {QMessageBox::Retry, 4}, {QMessageBox::Ignore, 5}};
        escapeResult = 3;
        break;
    case 3:
        buttons = {{QMessageBox::Yes, 6}, {QMessageBox::No, 7}, {QMessageBox::Cancel, 2}};
        break;
    case 4:
        buttons = {{QMessageBox::Yes, 6}, {QMessageBox::No, 7}};
        escapeResult = 7;
        break;
    case 5:
        buttons = {{QMessageBox::Retry, 4}, {QMessageBox::Cancel, 2}};
        break;
    default:
        buttons = {{QMessageBox::Ok, 1}};
        escapeResult = 1;
        break;
    }
    for (const ButtonChoice &choice : buttons)
        box.addButton(choice.button);
    const int defaultIndex = (flags & 0x300) >> 8;
    box.setDefaultButton(buttons.value(defaultIndex, buttons.first()).button);
    for (const ButtonChoice &choice : buttons)
        if (choice.result == escapeResult)
            box.setEscapeButton(choice.button);

    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const ButtonChoice &choice : buttons)
        if (choice.button == clicked)
            return choice.result;
    return escapeResult;
}
