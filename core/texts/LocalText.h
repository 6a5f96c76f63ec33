#pragma once
// Numbered interface texts in the user's language. Every message and many captions carry a
// number and their English wording; the wording shown comes from the message text file
// (state.MessageFilePath, section state.MessageSection), and the English text is used when the
// file, the section or the key is missing.

#include "core/AppState.h"

#include <QLocale>
#include <QString>

QString LocalText(const AppState &state, int number, const QString &english);

// The locale dates and numbers are shown in: the system's when it speaks the interface
// language, otherwise that language's own (so that an Italian window never shows "Dec").
QLocale InterfaceLocale(const AppState &state);
