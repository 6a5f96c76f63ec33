#include "MainKeys.h"

#include <gtest/gtest.h>
#include <tuple>

TEST(MainKeys, Table)
{
    // The window's usual state, and with the given conditions on as well.
    using K = KeyConditions;
    const auto with = [](std::initializer_list<bool K::*> on) {
        K c {.browseEventsOn = true, .refreshEnabled = true};
        for (bool K::*flag : on)
            c.*flag = true;
        return c;
    };
    const K ready = with({}), playing = with({&K::pauseOrPlayEnabled});
    const K converting = with({&K::haltVisible}), output = with({&K::outputListActive});
    const K grab = with({&K::grabEnabled, &K::tagEnabled}), noType = with({&K::typeTextEmpty});
    const K typing = with({&K::pauseOrPlayEnabled, &K::textEntryFocused}), off {};

    // key, modifiers, conditions; what the key does, and whether the control sees it no more.
    // F2, F7, F12, Delete, Alt+M and Alt+S as such are pressed in the end-to-end scenarios.
    const std::tuple<int, Qt::KeyboardModifiers, K, KeyAction, bool> cases[] = {
        {Qt::Key_Space, {}, playing, KeyAction::PauseToggle, true},
        {Qt::Key_Space, {}, ready, KeyAction::None, false},
        {Qt::Key_Space, {}, typing, KeyAction::None, false}, // a blank typed in the path box
        {Qt::Key_Delete, {}, typing, KeyAction::None, false},
        {Qt::Key_F4, Qt::AltModifier, ready, KeyAction::CloseWindow, false},
        {Qt::Key_F4, {}, ready, KeyAction::FocusPath, true}, // never a drop-down's own F4
        {Qt::Key_F4, {}, typing, KeyAction::FocusPath, true},
        {Qt::Key_Escape, {}, converting, KeyAction::Halt, true},
        {Qt::Key_Escape, {}, ready, KeyAction::StopPlayer, true},
        {Qt::Key_Return, {}, noType, KeyAction::TypeBoxEnter, false},
        {Qt::Key_F7, {}, noType, KeyAction::TypeBoxOther, false},
        {Qt::Key_Enter, Qt::KeypadModifier, ready, KeyAction::AcceptPath, false},
        {Qt::Key_Return, {}, off, KeyAction::None, false},
        {Qt::Key_F1, {}, noType, KeyAction::Help, true},
        {Qt::Key_R, Qt::AltModifier, ready, KeyAction::Rename, true},
        {Qt::Key_R, Qt::AltModifier | Qt::ShiftModifier, ready, KeyAction::None, false},
        {Qt::Key_F7, {}, ready, KeyAction::None, false},
        {Qt::Key_F8, {}, grab, KeyAction::Tag, true},
        {Qt::Key_D, Qt::AltModifier, ready, KeyAction::Delete, true},
        {Qt::Key_F5, {}, ready, KeyAction::Refresh, true},
        {Qt::Key_F5, {}, off, KeyAction::None, false},
        {Qt::Key_M, Qt::AltModifier, output, KeyAction::None, false},
        {Qt::Key_S, Qt::AltModifier, output, KeyAction::None, false},
        {Qt::Key_E, Qt::AltModifier, output, KeyAction::Explore, true},
    };
    for (const auto &[key, mods, c, action, consumed] : cases) {
        const KeyDecision d = MainKeyDecision(key, mods, c);
        EXPECT_EQ(d.action, action) << "key " << std::hex << key;
        EXPECT_EQ(d.consumed, consumed) << "key " << std::hex << key;
    }
}
