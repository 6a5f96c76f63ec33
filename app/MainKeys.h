#pragma once
// The main window's keyboard table: which key does what, and whether the focused control still
// sees the key. Kept apart from the widgets so the table can be checked on its own.

#include <Qt>

enum class KeyAction {
    None,
    PauseToggle, // press cmdPause, focus to it
    CloseWindow, // Alt+F4
    Halt, // press cmdHalt
    StopPlayer, // press cmdStop
    TypeBoxEnter, // empty type box: events on, type index 0
    TypeBoxOther, // empty type box: events off
    AcceptPath, // run the path box accept
    ChooseLanguage, // F12
    Help, // F1: press cmdHelp
    Rename,
    Grab,
    Tag,
    Delete,
    Refresh,
    Move,
    Save,
    Explore,
    FocusPath, // F4: the path box, its text selected
};

struct KeyConditions
{
    bool pauseOrPlayEnabled = false;
    bool haltVisible = false;
    bool typeTextEmpty = false;
    bool browseEventsOn = false;
    bool grabEnabled = false;
    bool tagEnabled = false;
    bool refreshEnabled = false;
    bool outputListActive = false;
    bool textEntryFocused = false; // the focus is in a field the user types into
};

struct KeyDecision
{
    KeyAction action = KeyAction::None;
    bool consumed = false;
};

KeyDecision MainKeyDecision(int key, Qt::KeyboardModifiers modifiers, const KeyConditions &c);
