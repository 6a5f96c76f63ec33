# The installed program: the build the scenarios were given, installed into a throwaway prefix
# and started from its desktop entry on a file (as "Open with" does); then another folder
# opened in the folder tree and a file converted there.
import os
import shlex

from e2e import *

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                                "packaging"))
import check_install  # found through the path above


def installed_prefix(s):
    """A prefix holding the program: the build tree of the given program installed into the
    scenario's folder, or the given program's own prefix when it is installed already."""
    top = os.path.dirname(os.path.dirname(s.program))
    if os.path.isfile(os.path.join(top, "share", "tonvera", "PRMSG")):
        return top
    check_install.install(top, s.path("prefix"))
    return s.path("prefix")


def scenario_installed_program_from_its_desktop_entry(s):
    prefix = installed_prefix(s)
    start_folder = s.path("opened with")
    other = s.path("to convert")
    os.makedirs(start_folder)
    os.makedirs(other)
    make_audio(os.path.join(start_folder, "first.mp3"), 1, "libmp3lame", tags={"title": "First"})
    make_audio(os.path.join(other, "song.mp3"), 2, "libmp3lame",
               tags={"title": "Installed Song"})

    # The command line the desktop starts for a file opened with Tonvera: Exec quotes as a
    # shell does for the paths we write, and %f is the one file.
    desktop = check_install.desktop_entry(
        os.path.join(prefix, "share", "applications", check_install.APP_ID + ".desktop"))
    command = [os.path.join(start_folder, "first.mp3") if word == "%f" else word
               for word in shlex.split(desktop["Exec"])]
    program = os.path.join(prefix, "bin", "tonvera")
    expect(command[0] == program, f"the entry to start {program}", command)
    app = s.start(*command[1:], program=command[0])
    w = app.main_window()
    lst = input_list(w)
    wait_text(path_box(w), start_folder)
    wait_entries(lst, ["first.mp3"])

    click_tree_folder(w, "to convert")
    wait_text(path_box(w), other)
    click(entry(lst, "song.mp3"))
    wait_panel(w, "song.mp3", "Title: Installed Song")
    key("F7")
    wait_status(w, "Conversion completed - File: song.wma")
    expect_wma(os.path.join(other, "song.wma"), 2, title="Installed Song")
