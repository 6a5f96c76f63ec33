# The two languages: chosen at the first start, kept for the next, switched with F12 (Escape
# keeps the one in use); and every control a user can operate has a name a screen reader can
# say, in either language.
from e2e import *

ENGLISH = {"check box": "All/None", "push button": "Convert"}
ITALIAN = {"check box": "Tutti/Nessuno", "push button": "Converti"}

# Controls without a caption, by role and name, in English and in Italian.
NAMED = [
    ("push button", "Up one level", "Livello superiore"),
    ("push button", "Help", "Guida"),
    ("push button", "Tag & Rename", "Tag e rinomina"),
    ("push button", "Reset start", "Azzera l'inizio"),
    ("tree", "Select folder", "Scegli la cartella"),
    ("list", "Select files to be converted", "File da convertire"),
    ("list", "Output files", "File convertiti"),
    ("scroll bar", "Start", "Inizio"),
    ("text", "Finish", "Fine"),
    ("slider", "Play position", "Posizione di riproduzione"),
    ("text", "Current Path of files", "Percorso attuale dei file"),  # the path box's field
    ("push button", "Main window", "Finestra principale"),  # where the focus is parked
]


# Controls a user can operate.
OPERABLE = {"push button", "toggle button", "check box", "radio button", "combo box", "list",
            "tree", "tree table", "table", "text", "password text", "entry", "scroll bar",
            "slider", "spin button", "menu", "menu item", "check menu item", "radio menu item",
            "page tab"}


def inside(acc, role):
    parent = acc.parent
    while parent is not None:
        if role_of(parent) == role:
            return True
        parent = parent.parent
    return False


def nameless_controls(root):
    """The controls shown under root that a user can operate but a screen reader cannot name."""
    out = []
    for acc in walk(root):
        try:
            role = role_of(acc)
            if role not in OPERABLE or not is_showing(acc) or inside(acc, "combo box"):
                continue
            ext = extents(acc)
            # A control of no size is still reached when the focus lands on it.
            reached = (ext.width > 0 and ext.height > 0) or (
                is_enabled(acc) and has_state(acc, pyatspi.STATE_FOCUSABLE))
            if reached and not acc.name.strip():
                out.append(f"{role} at {ext.x},{ext.y} (tooltip {acc.description.strip()!r})")
        except Exception:  # gone while we looked
            continue
    return out


def expect_language(w, captions, column, first_label):
    for role, name in captions.items():
        find(w, role, name)
    find(w, "label", match=lambda t: t.startswith(first_label))
    nameless = nameless_controls(w)
    expect(not nameless, "every control named", nameless)
    for row in NAMED:
        find(w, row[0], row[column])


def expect_no_chooser(app):
    expect(not app.dialogs(), "no language chooser", app.dialogs())


def f12_chooser(app, w):
    keyboard_to(w)
    key("F12")
    return app.window("dialog")


def scenario_two_languages_with_named_controls(s):
    app = s.start(language=None)
    chooser = app.window("dialog")
    expect(chooser.name.strip() == "Tonvera", "the chooser titled 'Tonvera'", repr(chooser.name))
    find(chooser, "label", "Language / Lingua")
    expect(not nameless_controls(chooser), "every control of the chooser named",
           nameless_controls(chooser))
    click(find(chooser, "push button", "Italiano"))
    w = app.main_window()
    expect(w.name.strip() == "Tonvera", "the main window titled 'Tonvera'", repr(w.name))
    expect_no_chooser(app)
    expect_language(w, ITALIAN, 2, "1 - Seleziona la cartella")
    app.close()

    # The next start asks no more and speaks Italian straight away.
    app = s.start(language=None)
    w = app.main_window()
    expect_no_chooser(app)
    find(w, "check box", ITALIAN["check box"])
    f12_chooser(app, w)
    key("Escape")
    app.wait_no_dialog("the chooser to close")
    chk = find(w, "check box")
    expect(chk.name == ITALIAN["check box"], "the captions still Italian", repr(chk.name))
    # English turns every caption and name over, the icon buttons' tooltips too.
    click(find(f12_chooser(app, w), "push button", "English"))
    app.wait_no_dialog("the chooser to close")
    expect_language(w, ENGLISH, 1, "1 - Select folder and type of files")
