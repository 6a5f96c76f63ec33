# The language: chosen at the first start, kept for the next, switched with F12.
from e2e import *

ENGLISH = {"check box": "All/None", "push button": "Convert"}
ITALIAN = {"check box": "Tutti/Nessuno", "push button": "Converti"}


def wait_captions(w, captions):
    for role, name in captions.items():
        find(w, role, name)


def first_start(s, button):
    app = s.start(language=None)
    chooser = app.window("dialog")
    expect(chooser.name.strip() == "Tonvera", "the chooser titled 'Tonvera'", repr(chooser.name))
    find(chooser, "label", "Language / Lingua")
    expect(not nameless_controls(chooser), "every control of the chooser named",
           nameless_controls(chooser))
    click(find(chooser, "push button", button))
    w = app.main_window()
    expect(w.name.strip() == "Tonvera", "the main window titled 'Tonvera'", repr(w.name))
    expect(not [x for x in app.windows() if role_of(x) == "dialog"], "the chooser gone",
           [describe(x) for x in app.windows()])
    return app, w


def scenario_first_start_in_english(s):
    app, w = first_start(s, "English")
    wait_captions(w, ENGLISH)
    find(w, "label", match=lambda t: t.startswith("1 - Select folder and type of files"))


def scenario_first_start_in_italian_and_kept_for_the_next(s):
    app, w = first_start(s, "Italiano")
    wait_captions(w, ITALIAN)
    find(w, "label", match=lambda t: t.startswith("1 - Seleziona la cartella"))
    app.close()
    # The next start asks no more and speaks Italian straight away.
    again = s.start(language=None)
    w = again.main_window()
    expect(not [x for x in again.windows() if role_of(x) == "dialog"], "no chooser",
           [describe(x) for x in again.windows()])
    wait_captions(w, ITALIAN)


def f12_choose(app, w, button):
    click(find(w, "label", match=lambda t: t.startswith("1 - ")))  # the keyboard to the window
    key("F12")
    chooser = app.window("dialog")
    click(find(chooser, "push button", button))
    wait_until(lambda: not [x for x in app.windows() if role_of(x) == "dialog"],
               "the chooser to close")


def scenario_f12_to_italian_and_back(s):
    app = s.start()
    w = app.main_window()
    wait_captions(w, ENGLISH)
    f12_choose(app, w, "Italiano")
    wait_captions(w, ITALIAN)
    # Icon buttons are named by their tooltips, which follow the language.
    find(w, "push button", "Guida")
    find(w, "push button", "Livello superiore")
    f12_choose(app, w, "English")
    wait_captions(w, ENGLISH)
    find(w, "push button", "Help")


def scenario_escape_in_f12_chooser_keeps_the_language(s):
    app = s.start(language="Italiano")
    w = app.main_window()
    wait_captions(w, ITALIAN)
    click(find(w, "label", match=lambda t: t.startswith("1 - ")))
    key("F12")
    app.window("dialog")
    key("Escape")
    wait_until(lambda: not [x for x in app.windows() if role_of(x) == "dialog"],
               "the chooser to close")
    chk = find(w, "check box")
    expect(chk.name == ITALIAN["check box"], "the captions still Italian", repr(chk.name))
