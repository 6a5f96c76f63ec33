#pragma once
// Captions and tooltips of the program's windows in the current language. The window is
// recognised by its objectName ("frmMain", "frmOptions", "frmTagInfo", "frmCutName"); each
// entry names a child by objectName (control arrays as "name_N"): a widget, a QAction (menu
// entry or submenu) or the window itself. Entries whose object is not in the window are skipped.

#include "core/AppState.h"

#include "core/texts/CaptionTables.h"

class QWidget;

// Sets the captions of window (selected by its objectName) in the current language.
void ApplyCaptions(QWidget *window, const AppState &state);

// Sets the tooltips of window: " " + text + " "; then repaints the window.
void ApplyTooltips(QWidget *window, const AppState &state);
