# Every control a user can operate has a name a screen reader can say, in either language.
import os

from e2e import *

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


def audit(w, column):
    nameless = nameless_controls(w)
    expect(not nameless, "every control named", nameless)
    for row in NAMED:
        find(w, row[0], row[column])


def scenario_every_control_has_a_name_in_both_languages(s):
    app = s.start(os.path.join(s.fixtures, "music", "tagged.mp3"))
    w = app.main_window()
    input_list(w)
    audit(w, 1)
    click(find(w, "label", match=lambda t: t.startswith("1 - ")))
    key("F12")
    click(find(app.window("dialog"), "push button", "Italiano"))
    find(w, "check box", "Tutti/Nessuno")
    audit(w, 2)
