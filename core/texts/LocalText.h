#pragma once
// Numbered interface texts in the user's language. Every message and many captions carry a
// number and their English wording; the wording shown comes from the message text file
// (state.MessageFilePath, section state.MessageSection), and the English text is used when the
// file, the section or the key is missing.

#include "core/AppState.h"

#include <QString>

QString LocalText(const AppState &state, int number, const QString &english);
