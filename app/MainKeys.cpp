#include "MainKeys.h"

KeyDecision MainKeyDecision(int key, Qt::KeyboardModifiers modifiers, const KeyConditions &c)
{
    const Qt::KeyboardModifiers mods = modifiers & ~Qt::KeypadModifier;
    const bool altOnly = mods == Qt::AltModifier;
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;

    // Space and Delete belong to a text field while the user types in it: otherwise a blank
    // in a folder name would pause the player and Delete would offer to delete a file.
    if (c.textEntryFocused && (key == Qt::Key_Space || key == Qt::Key_Delete))
        return {};

    if (key == Qt::Key_Space && c.pauseOrPlayEnabled)
        return {KeyAction::PauseToggle, true};
    if (key == Qt::Key_F4 && altOnly)
        return {KeyAction::CloseWindow, false};
    if (key == Qt::Key_Escape)
        return {c.haltVisible ? KeyAction::Halt : KeyAction::StopPlayer, true};
    // Help on F1, as on every desktop, whatever has the focus.
    if (key == Qt::Key_F1 && mods == Qt::NoModifier)
        return {KeyAction::Help, true};
    if (c.typeTextEmpty)
        return {enter ? KeyAction::TypeBoxEnter : KeyAction::TypeBoxOther, false};
    if (enter && c.browseEventsOn)
        return {KeyAction::AcceptPath, false};
    if (key == Qt::Key_F12)
        return {KeyAction::ChooseLanguage, true};
    if (key == Qt::Key_F2 || (key == Qt::Key_R && altOnly))
        return {KeyAction::Rename, true};
    if (key == Qt::Key_F7 && c.grabEnabled)
        return {KeyAction::Grab, true};
    if (key == Qt::Key_F8 && c.tagEnabled)
        return {KeyAction::Tag, true};
    if (key == Qt::Key_Delete || (key == Qt::Key_D && altOnly))
        return {KeyAction::Delete, true};
    if (key == Qt::Key_F5 && c.refreshEnabled)
        return {KeyAction::Refresh, true};
    if (key == Qt::Key_M && altOnly && !c.outputListActive)
        return {KeyAction::Move, true};
    if (key == Qt::Key_S && altOnly && !c.outputListActive)
        return {KeyAction::Save, true};
    if (key == Qt::Key_E && altOnly)
        return {KeyAction::Explore, true};
    // Consumed: a drop-down box with the focus would open its own list on F4, and the path
    // typed next would go there.
    if (key == Qt::Key_F4)
        return {KeyAction::FocusPath, true};
    return {};
}
