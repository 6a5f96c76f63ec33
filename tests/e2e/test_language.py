# The two languages: chosen at the first start, kept for the next, switched with F12 (Escape
# keeps the one in use); the captions and the names a screen reader says follow the language.
from e2e import *

# The whole window's captions are the window test's; here a button and a list a screen reader
# names, and the first caption.
ENGLISH = [("push button", "Convert"), ("list", "Select files to be converted")]
ITALIAN = [("push button", "Converti"), ("list", "File da convertire")]


def expect_captions(w, captions, first_label):
    for role, name in captions:
        find(w, role, name)
    find(w, "label", match=lambda t: t.startswith(first_label))


def f12_chooser(app, w):
    keyboard_to(w)
    key("F12")
    return app.window("dialog")


def scenario_two_languages(s):
    app = s.start(language=None)
    chooser = app.window("dialog")
    expect(chooser.name.strip() == "Tonvera", "the chooser titled 'Tonvera'", repr(chooser.name))
    find(chooser, "label", "Language / Lingua")
    click(find(chooser, "push button", "Italiano"))
    w = app.main_window()
    expect(w.name.strip() == "Tonvera", "the main window titled 'Tonvera'", repr(w.name))
    expect(not app.dialogs(), "the chooser gone", app.dialogs())
    expect_captions(w, ITALIAN, "1 - Seleziona la cartella")
    app.close()

    # The next start asks no more and speaks Italian straight away.
    app = s.start(language=None)
    w = app.main_window()
    expect(not app.dialogs(), "no language chooser", app.dialogs())
    find(w, "check box", "Tutti/Nessuno")
    f12_chooser(app, w)
    key("Escape")
    app.wait_no_dialog("the chooser to close")
    chk = find(w, "check box")
    expect(chk.name == "Tutti/Nessuno", "the captions still Italian", repr(chk.name))
    click(find(f12_chooser(app, w), "push button", "English"))
    app.wait_no_dialog("the chooser to close")
    expect_captions(w, ENGLISH, "1 - Select folder and type of files")
