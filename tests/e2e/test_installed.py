# The installed program: the build the scenarios were given, installed into a throwaway prefix
# and started from its desktop entry on a file (as "Open with" does); then another folder
# opened in the folder tree and a file converted there, and the interface switched to the
# installed Italian texts.
import configparser
import os
import shlex

from e2e import *

APP_ID = "org.tonvera.Tonvera"


def installed_prefix(s):
    """A prefix holding the program: the build tree of the given program installed into the
    scenario's folder, or the given program's own prefix when it is installed already."""
    top = os.path.dirname(os.path.dirname(s.program))
    if os.path.isfile(os.path.join(top, "share", "tonvera", "PRMSG")):
        return top
    expect(os.path.isfile(os.path.join(top, "CMakeCache.txt")),
           f"a build tree around {s.program}", os.listdir(top))
    prefix = s.path("prefix")
    out = subprocess.run(["cmake", "--install", top, "--prefix", prefix],
                         capture_output=True, text=True)
    expect(out.returncode == 0, f"cmake --install {top} --prefix {prefix}",
           out.stdout + out.stderr)
    return prefix


def desktop_command(prefix, path):
    """The command line the desktop starts for a file opened with Tonvera."""
    entry_path = os.path.join(prefix, "share", "applications", APP_ID + ".desktop")
    parser = configparser.ConfigParser(interpolation=None)
    parser.optionxform = str
    expect(parser.read(entry_path, encoding="utf-8"), f"the desktop entry {entry_path}",
           os.listdir(os.path.dirname(entry_path)))
    # Exec quotes as a shell does for the paths we write; %f is the one file.
    words = shlex.split(parser["Desktop Entry"]["Exec"])
    return [path if w == "%f" else w for w in words]


def scenario_installed_program_from_its_desktop_entry(s):
    prefix = installed_prefix(s)
    start_folder = s.path("opened with")
    other = s.path("to convert")
    os.makedirs(start_folder)
    os.makedirs(other)
    make_audio(os.path.join(start_folder, "first.mp3"), 1, "libmp3lame", tags={"title": "First"})
    make_audio(os.path.join(other, "song.mp3"), 2, "libmp3lame",
               tags={"title": "Installed Song"})

    command = desktop_command(prefix, os.path.join(start_folder, "first.mp3"))
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

    # Italian captions come only from the installed PRMSG.
    keyboard_to(w)
    key("F12")
    click(find(app.window("dialog"), "push button", "Italiano"))
    find(w, "push button", "Converti")
