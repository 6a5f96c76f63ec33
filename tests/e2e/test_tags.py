# Tags and file operations as a user meets them: the tag editor before a conversion, an MP3's
# ID3v1 tag saved with Tag & Rename (a "\" in its name kept); rename, delete, move and save as
# from the keyboard. The name rules and templates are the editor tests' and the run model's.
import os
import shutil
from urllib.parse import quote

from e2e import *

EDITOR = " Tonvera - Edit Tag & Filename"
TITLE = "Title $T (max 30)"


def spaced(name):
    return lambda n: " ".join(n.split()) == name


def field(dlg, caption):
    return find(dlg, "text", match=spaced(caption))


def id3v1(path):
    """Title and artist of the ID3v1 tag at the end of an MP3, read byte by byte."""
    block = read(path)[-128:]
    expect(block[:3] == b"TAG", f"an ID3v1 tag at the end of {path}", block[:3])
    return [block[at:at + 30].split(b"\0")[0].decode("latin-1").rstrip() for at in (3, 33)]


def open_on(s, path):
    """The program started on a file, that file clicked."""
    app = s.start(path)
    w = app.main_window()
    lst = input_list(w)
    click(entry(lst, os.path.basename(path)))
    return app, w, lst


def editor_before_convert(app, w):
    edit = find(w, "check box", "Edit tag info")
    if not is_checked(edit):
        click(edit)
        wait_until(lambda: is_checked(edit), "Edit tag info ticked")
    click(button(w, "Convert"))
    return app.window("dialog", EDITOR)


def scenario_tag_editor_before_a_conversion_and_the_saved_mp3_tag(s):
    folder = s.path("music")
    os.makedirs(folder)
    name = "AC\\DC - song.mp3"  # one name: on Linux "\" is a character like any other
    path = os.path.join(folder, name)
    make_audio(path, 2, "libmp3lame", tags={"title": "Old Title", "artist": "Old Band"})
    app, w, lst = open_on(s, path)
    wait_panel(w, name, "Title: Old Title")
    # The editor before a conversion reads the file's tag; what is typed there goes to the WMA.
    dlg = editor_before_convert(app, w)
    wait_text(field(dlg, TITLE), "Old Title")
    type_into(field(dlg, "Artist $A"), "New Band")
    type_into(field(dlg, "Copyright"), "(c) Tonvera")
    press(button(dlg, "Convert"))
    app.wait_no_dialog()
    wma = "AC\\DC - song.wma"
    wait_status(w, "Conversion completed - File: " + wma)
    expect_wma(os.path.join(folder, wma), title="Old Title", artist="New Band",
               copyright="(c) Tonvera")

    # Tag & Rename saves the MP3's own tag, under its whole name.
    click(entry(lst, name))
    press(button(w, "Tag & Rename"))
    dlg = app.window("dialog", EDITOR)
    type_into(field(dlg, TITLE), "Saved Title")
    type_into(field(dlg, "Artist $A"), "Saved Band")
    press(button(dlg, "Save"))
    app.wait_no_dialog()
    wait_until(lambda: Seen(id3v1(path) == ["Saved Title", "Saved Band"], id3v1(path)),
               "the ID3v1 tag saved under the whole name")


def type_over(text):
    """Types text over what the field with the keys holds, and accepts it."""
    key("ctrl+a")
    type_text(text)
    key("Return")


def answer_file_dialog(app, start, path):
    """Types a path into the file dialog's name field (which has the keyboard)."""
    app.window("dialog", start=start)
    time.sleep(0.5)
    type_over(path)


def scenario_rename_delete_move_and_save_as(s):
    folder = s.path("music")
    target = s.path("moved here")
    os.makedirs(folder)
    os.makedirs(target)
    for name in ("a.mp3", "b.mp3", "c.mp3"):
        shutil.copy(os.path.join(s.fixtures, "music", "second.mp3"), os.path.join(folder, name))
    app, w, lst = open_on(s, os.path.join(folder, "a.mp3"))

    key("F2")
    box = find(app.window("dialog", " Tonvera"), "text", "Rename")
    wait_text(box, "a.mp3")
    type_over("renamed.mp3")
    wait_entries(lst, ["b.mp3", "c.mp3", "renamed.mp3"])
    expect(os.path.isfile(os.path.join(folder, "renamed.mp3")), "the file renamed on disk",
           os.listdir(folder))

    click(entry(lst, "b.mp3"))
    key("Delete")
    app.answer("Yes", "MOVE TO THE TRASH", "b.mp3")
    wait_entries(lst, ["c.mp3", "renamed.mp3"])
    trash = os.path.join(s.folder, "home", ".local", "share", "Trash")
    expect(os.path.isfile(os.path.join(trash, "files", "b.mp3")), "b.mp3 in the trash",
           os.listdir(folder))
    with open(os.path.join(trash, "info", "b.mp3.trashinfo")) as f:
        info = f.read()
    expect("Path=" + quote(os.path.join(folder, "b.mp3")) in info,
           "the trash knowing where it came from", info)

    click(entry(lst, "c.mp3"))
    key("alt+m")
    answer_file_dialog(app, "Choose the folder where MOVE the file c.mp3", target)
    wait_entries(lst, ["renamed.mp3"])
    expect(os.listdir(target) == ["c.mp3"], "c.mp3 moved", os.listdir(target))

    click(entry(lst, "renamed.mp3"))
    key("alt+s")
    answer_file_dialog(app, "Make a Copy of current file", os.path.join(folder, "copy"))
    wait_entries(lst, ["copy.mp3", "renamed.mp3"])  # the type's extension is added
    expect(read(os.path.join(folder, "copy.mp3")) == read(os.path.join(folder, "renamed.mp3")),
           "a whole copy", "different bytes")
