#include "MainKeys.h"

#include <gtest/gtest.h>

namespace {
KeyConditions ready()
{
    KeyConditions c;
    c.browseEventsOn = true;
    c.refreshEnabled = true;
    return c;
}
} // namespace

TEST(MainKeys, Table)
{
    KeyConditions playing = ready();
    playing.pauseOrPlayEnabled = true;
    KeyConditions converting = ready();
    converting.haltVisible = true;
    KeyConditions grab = ready();
    grab.grabEnabled = grab.tagEnabled = true;
    KeyConditions output = ready();
    output.outputListActive = true;
    KeyConditions typing = playing;
    typing.textEntryFocused = true;
    KeyConditions noType = ready();
    noType.typeTextEmpty = true;
    KeyConditions off = ready();
    off.browseEventsOn = off.refreshEnabled = false;

    const struct
    {
        int key;
        Qt::KeyboardModifiers mods;
        KeyConditions c;
        KeyAction action;
        bool consumed;
    } cases[] = {
        {Qt::Key_Space, {}, playing, KeyAction::PauseToggle, true},
        {Qt::Key_Space, {}, ready(), KeyAction::None, false},
        {Qt::Key_Space, {}, typing, KeyAction::None, false}, // a blank typed in the path box
        {Qt::Key_Delete, {}, typing, KeyAction::None, false},
        {Qt::Key_F4, Qt::AltModifier, ready(), KeyAction::CloseWindow, false},
        {Qt::Key_F4, {}, ready(), KeyAction::FocusPath, true}, // never a drop-down's own F4
        {Qt::Key_F4, {}, typing, KeyAction::FocusPath, true},
        {Qt::Key_Escape, {}, converting, KeyAction::Halt, true},
        {Qt::Key_Escape, {}, ready(), KeyAction::StopPlayer, true},
        {Qt::Key_Return, {}, noType, KeyAction::TypeBoxEnter, false},
        {Qt::Key_F7, {}, noType, KeyAction::TypeBoxOther, false},
        {Qt::Key_Enter, Qt::KeypadModifier, ready(), KeyAction::AcceptPath, false},
        {Qt::Key_Return, {}, off, KeyAction::None, false},
        {Qt::Key_F12, {}, ready(), KeyAction::ChooseLanguage, true},
        {Qt::Key_F1, {}, noType, KeyAction::Help, true},
        {Qt::Key_F1, {}, typing, KeyAction::Help, true},
        {Qt::Key_F2, {}, ready(), KeyAction::Rename, true},
        {Qt::Key_R, Qt::AltModifier, ready(), KeyAction::Rename, true},
        {Qt::Key_R, Qt::AltModifier | Qt::ShiftModifier, ready(), KeyAction::None, false},
        {Qt::Key_F7, {}, grab, KeyAction::Grab, true},
        {Qt::Key_F7, {}, ready(), KeyAction::None, false},
        {Qt::Key_F8, {}, grab, KeyAction::Tag, true},
        {Qt::Key_Delete, {}, ready(), KeyAction::Delete, true},
        {Qt::Key_D, Qt::AltModifier, ready(), KeyAction::Delete, true},
        {Qt::Key_F5, {}, ready(), KeyAction::Refresh, true},
        {Qt::Key_F5, {}, off, KeyAction::None, false},
        {Qt::Key_M, Qt::AltModifier, ready(), KeyAction::Move, true},
        {Qt::Key_M, Qt::AltModifier, output, KeyAction::None, false},
        {Qt::Key_S, Qt::AltModifier, output, KeyAction::None, false},
        {Qt::Key_E, Qt::AltModifier, output, KeyAction::Explore, true},
        {Qt::Key_A, {}, ready(), KeyAction::None, false},
    };
    for (const auto &t : cases) {
        const KeyDecision d = MainKeyDecision(t.key, t.mods, t.c);
        EXPECT_EQ(d.action, t.action) << "key " << std::hex << t.key;
        EXPECT_EQ(d.consumed, t.consumed) << "key " << std::hex << t.key;
    }
}
