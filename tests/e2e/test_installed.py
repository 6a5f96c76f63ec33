# The installed program: the build the scenarios were given, installed into a throwaway prefix
# and started from its desktop entry on a file (as "Open with" does); then another folder
# opened in the folder tree and a file converted there, and the interface switched to the
# installed Italian texts.
import configparser
import os
import shlex
import subprocess

from e2e import *
from test_folder import click_tree_folder

APP_ID = "org.tonvera.Tonvera"
RUN_TIMEOUT = 60.0
FF = ["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y"]


def installed_prefix(s):
    """A prefix holding the program: the build tree of the given program installed into the
    scenario's folder, or the given program's own prefix when it is installed already."""
    bin_dir = os.path.dirname(s.program)
    top = os.path.dirname(bin_dir)
    if os.path.isfile(os.path.join(top, "share", "tonvera", "PRMSG")):
        return top
    build = top
    expect(os.path.isfile(os.path.join(build, "CMakeCache.txt")),
           f"a build tree around {s.program}", os.listdir(build))
    prefix = s.path("prefix")
    out = subprocess.run(["cmake", "--install", build, "--prefix", prefix],
                         capture_output=True, text=True)
    expect(out.returncode == 0, f"cmake --install {build} --prefix {prefix}",
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


def make_mp3(path, seconds, title):
    subprocess.run(FF + ["-f", "lavfi", "-i", f"sine=frequency=440:duration={seconds}",
                         "-ac", "2", "-c:a", "libmp3lame", "-b:a", "128k",
                         "-id3v2_version", "3", "-metadata", f"title={title}", path], check=True)


def status_line(w):
    texts = [t.strip() for t in label_texts(w) if "Conversion completed" in t]
    return texts[0] if texts else None


def scenario_installed_program_from_its_desktop_entry(s):
    prefix = installed_prefix(s)
    start_folder = s.path("opened with")
    other = s.path("to convert")
    os.makedirs(start_folder)
    os.makedirs(other)
    make_mp3(os.path.join(start_folder, "first.mp3"), 1, "First")
    make_mp3(os.path.join(other, "song.mp3"), 2, "Installed Song")

    command = desktop_command(prefix, os.path.join(start_folder, "first.mp3"))
    program = os.path.join(prefix, "bin", "tonvera")
    expect(command[0] == program, f"the entry to start {program}", command)
    s.program = command[0]
    app = s.start(*command[1:])
    w = app.main_window()
    lst = input_list(w)
    wait_text(path_box(w), start_folder)
    wait_entries(lst, ["first.mp3"])

    click_tree_folder(folder_tree(w), "to convert")
    wait_text(path_box(w), other)
    wait_entries(lst, ["song.mp3"])

    click(entry(lst, "song.mp3"))
    wait_panel(w, "song.mp3", "Title: Installed Song")
    key("F7")
    wait_until(lambda: Seen(status_line(w) and "song.wma" in status_line(w), label_texts(w)),
               "the status line to report song.wma converted", RUN_TIMEOUT)
    out = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "stream=codec_name",
                          "-of", "csv=p=0", os.path.join(other, "song.wma")],
                         capture_output=True, text=True)
    expect(out.stdout.strip() == "wmav2", "song.wma encoded as WMA v2", out.stdout + out.stderr)

    # Italian captions come only from the installed PRMSG.
    click(find(w, "label", match=lambda t: t.startswith("1 - ")))
    key("F12")
    click(find(app.window("dialog"), "push button", "Italiano"))
    find(w, "push button", "Converti")
