# Tags, names and file operations as a user meets them: the tag editor before a conversion
# (its fields found in the WMA), names built from rules and templates (a tag holding "/" too),
# an MP3's own tag saved with Tag & Rename and read back (a "\" in its name kept), F2 to rename,
# the Delete key into the freedesktop trash, and the output list's popup menu.
import json
import os
import shutil
import subprocess
import time
from urllib.parse import quote

from e2e import *

RUN_TIMEOUT = 60.0
FF = ["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y"]
EDITOR = " Tonvera - Edit Tag & Filename"


def make_mp3(path, title, artist, seconds=2):
    subprocess.run(FF + ["-f", "lavfi", "-i", f"sine=frequency=440:duration={seconds}",
                         "-ac", "2", "-c:a", "libmp3lame", "-b:a", "128k",
                         "-id3v2_version", "3", "-write_id3v1", "1",
                         "-metadata", f"title={title}", "-metadata", f"artist={artist}", path],
                   check=True)


def wma_tags(path):
    expect(os.path.isfile(path), f"an output {path}", os.listdir(os.path.dirname(path)))
    out = subprocess.run(["ffprobe", "-v", "error", "-print_format", "json", "-show_format",
                          path], capture_output=True, text=True)
    if out.returncode != 0:
        raise Failure(f"ffprobe cannot read {path}: {out.stderr.strip()}")
    fmt = json.loads(out.stdout)["format"]
    expect(fmt["format_name"] == "asf", f"{path} in ASF", fmt["format_name"])
    return {k.lower(): v for k, v in fmt.get("tags", {}).items()}


def id3v1(path):
    """The ID3v1 tag at the end of an MP3, read byte by byte (Latin-1 as the format has it)."""
    with open(path, "rb") as f:
        f.seek(-128, os.SEEK_END)
        block = f.read(128)
    expect(block[:3] == b"TAG", f"an ID3v1 tag at the end of {path}", block[:3])

    def text(start, size):
        return block[start:start + size].split(b"\0")[0].decode("latin-1").rstrip()

    return {"title": text(3, 30), "artist": text(33, 30), "album": text(63, 30),
            "year": text(93, 4)}


def taglet_read(s, path):
    """The tag as the taglet tool beside the program reads it."""
    tool = os.path.join(os.path.dirname(s.program), "taglet")
    out = subprocess.run([tool, "read", path], capture_output=True, text=True)
    return json.loads(out.stdout)


def spaced(name):
    return lambda n: " ".join(n.split()) == name


def field(dlg, caption):
    return find(dlg, "text", match=spaced(caption))


def type_into(acc, text):
    """Clicks into a text field, selects what it holds and types text over it."""
    click(acc)
    key("ctrl+a")
    xdotool("type", "--delay", "20", text)
    wait_until(lambda: Seen(text_of(acc) == text, repr(text_of(acc))),
               f"{describe(acc)} to read {text!r}")


def status_line(w):
    texts = [t.strip() for t in label_texts(w) if "Conversion completed" in t or "---" in t]
    return texts[0] if texts else None


def wait_status(w, wanted, timeout=RUN_TIMEOUT):
    return wait_until(lambda: Seen(status_line(w) and wanted in status_line(w),
                                   status_line(w) or label_texts(w)),
                      f"the status line to say {wanted!r}", timeout)


def gone(app, title):
    wait_until(lambda: Seen(not any(x.name == title for x in app.windows()),
                            [describe(x) for x in app.windows()]),
               f"the window {title!r} closed")


def trash_of(s):
    return os.path.join(s.folder, "home", ".local", "share", "Trash")


def open_folder(s, first):
    app = s.start(first)
    w = app.main_window()
    lst = input_list(w)
    click(entry(lst, os.path.basename(first)))
    return app, w, lst


def convert_with_the_editor(app, w):
    edit = find(w, "check box", "Edit tag info")
    if not is_checked(edit):
        click(edit)
        wait_until(lambda: is_checked(edit), "Edit tag info ticked")
    click(find(w, "push button", "Convert"))
    return app.window("dialog", EDITOR)


def scenario_edit_tags_before_a_conversion(s):
    folder = s.path("music")
    os.makedirs(folder)
    make_mp3(os.path.join(folder, "my-song.mp3"), "Old Title", "Old Band")
    app, w, lst = open_folder(s, os.path.join(folder, "my-song.mp3"))
    wait_panel(w, "my-song.mp3", "Title: Old Title")
    dlg = convert_with_the_editor(app, w)
    wait_text(field(dlg, "Title $T (max 30)"), "Old Title")
    type_into(field(dlg, "Title $T (max 30)"), "New Title")
    type_into(field(dlg, "Artist $A"), "New Band")
    type_into(field(dlg, "Copyright"), "(c) Tonvera")
    press(find(dlg, "push button", "Convert"))
    gone(app, EDITOR)
    wait_status(w, "Conversion completed - File: my-song.wma")
    tags = wma_tags(os.path.join(folder, "my-song.wma"))
    for name, wanted in (("title", "New Title"), ("artist", "New Band"),
                         ("copyright", "(c) Tonvera")):
        expect(tags.get(name) == wanted, f"the WMA's {name} {wanted!r}", tags)


def scenario_names_from_rules_and_a_template_with_a_slash(s):
    folder = s.path("music")
    os.makedirs(folder)
    make_mp3(os.path.join(folder, "first-take.mp3"), "Back", "AC/DC")
    app, w, lst = open_folder(s, os.path.join(folder, "first-take.mp3"))
    wait_panel(w, "first-take.mp3", "Artist: AC/DC")
    dlg = convert_with_the_editor(app, w)
    click(find(dlg, "radio button", "Filename from rules"))
    click(find(dlg, "check box", match=spaced("Artist $A")))
    click(find(dlg, "check box", match=spaced("Title $T (max 30)")))
    new_name = find(dlg, "text", "New name")
    wait_text(new_name, "AC_DC-Back")  # "-" from the file's own name, "/" never in a name
    click(find(dlg, "check box", match=lambda n: n.startswith("Advanced")))
    type_into(find(dlg, "text", "Template"), "$a - $t (live)")
    wait_text(new_name, "AC_DC - Back (LIVE)")
    press(find(dlg, "push button", "Convert"))
    gone(app, EDITOR)
    wait_status(w, "Conversion completed - File: AC_DC - Back (LIVE).wma")
    tags = wma_tags(os.path.join(folder, "AC_DC - Back (LIVE).wma"))
    expect(tags.get("artist") == "AC/DC", "the tag keeps its slash", tags)
    made = sorted(os.listdir(folder))
    expect(made == ["AC_DC - Back (LIVE).wma", "first-take.mp3"], "no folder made", made)


def scenario_save_an_mp3_tag_and_rename_it(s):
    folder = s.path("music")
    os.makedirs(folder)
    make_mp3(os.path.join(folder, "song.mp3"), "Old Title", "Old Band")
    app, w, lst = open_folder(s, os.path.join(folder, "song.mp3"))
    wait_panel(w, "song.mp3", "Title: Old Title")
    press(find(w, "push button", "Tag & Rename"))
    dlg = app.window("dialog", EDITOR)
    type_into(field(dlg, "Title $T (max 30)"), "Saved Title")
    type_into(field(dlg, "Artist $A"), "Saved Band")
    click(find(dlg, "radio button", "Filename from rules"))
    click(find(dlg, "check box", match=spaced("Title $T (max 30)")))
    wait_text(find(dlg, "text", "New name"), "Saved Title")
    press(find(dlg, "push button", "Save"))
    gone(app, EDITOR)
    renamed = os.path.join(folder, "Saved Title.mp3")
    wait_entries(lst, ["Saved Title.mp3"])
    tag = id3v1(renamed)
    expect(tag["title"] == "Saved Title" and tag["artist"] == "Saved Band",
           "the ID3v1 tag saved", tag)
    read = taglet_read(s, renamed)
    expect(read["song"] == "Saved Title", "taglet reads the saved title", read["song"])
    expect(not os.path.exists(os.path.join(folder, "song.mp3")), "the old name gone",
           os.listdir(folder))
    expect(not [n for n in os.listdir(folder) if n.endswith(".wma")], "nothing converted",
           os.listdir(folder))


def scenario_tag_and_rename_keeps_a_backslash_in_the_name(s):
    folder = s.path("music")
    os.makedirs(folder)
    name = "AC\\DC - x.mp3"  # one name: on Linux "\" is a character like any other
    make_mp3(os.path.join(folder, name), "Old Title", "Band")
    app = s.start(folder)
    w = app.main_window()
    lst = input_list(w)
    click(entry(lst, "", prefix=True))  # the only file
    press(find(w, "push button", "Tag & Rename"))
    dlg = app.window("dialog", EDITOR)
    type_into(field(dlg, "Title $T (max 30)"), "Kept")
    press(find(dlg, "push button", "Save"))
    gone(app, EDITOR)
    path = os.path.join(folder, name)
    wait_until(lambda: Seen(os.path.isfile(path) and id3v1(path)["title"] == "Kept",
                            os.listdir(folder)), "the tag saved under the whole name")
    expect(os.listdir(folder) == [name], "the file keeps its whole name", os.listdir(folder))
    wait_entries(lst, [name])


def scenario_rename_with_f2(s):
    folder = s.path("music")
    os.makedirs(folder)
    for name in ("a.mp3", "b.mp3"):
        shutil.copy(os.path.join(s.fixtures, "music", "second.mp3"), os.path.join(folder, name))
    app, w, lst = open_folder(s, os.path.join(folder, "a.mp3"))
    key("F2")
    box = find(app.window("dialog", " Tonvera"), "text", "Rename")
    wait_text(box, "a.mp3")
    key("ctrl+a")
    xdotool("type", "--delay", "20", "renamed.mp3")
    key("Return")
    wait_entries(lst, ["b.mp3", "renamed.mp3"])
    expect(os.path.isfile(os.path.join(folder, "renamed.mp3")), "the file renamed on disk",
           os.listdir(folder))

    # Onto another file's name: asked, and No keeps both.
    click(entry(lst, "renamed.mp3"))
    key("F2")
    box = find(app.window("dialog", " Tonvera"), "text", "Rename")
    key("ctrl+a")
    xdotool("type", "--delay", "20", "b.mp3")
    key("Return")
    press(find(app.message_box(" Tonvera"), "push button", "No"))
    time.sleep(0.5)
    expect(sorted(os.listdir(folder)) == ["b.mp3", "renamed.mp3"], "both files kept",
           os.listdir(folder))


def scenario_delete_with_the_delete_key_into_the_trash(s):
    folder = s.path("music")
    os.makedirs(folder)
    for name in ("keep.mp3", "gone.mp3"):
        shutil.copy(os.path.join(s.fixtures, "music", "second.mp3"), os.path.join(folder, name))
    app, w, lst = open_folder(s, os.path.join(folder, "gone.mp3"))
    key("Delete")
    box = app.message_box(" Tonvera")
    find(box, "label", match=lambda t: "MOVE TO THE TRASH" in t and "gone.mp3" in t)
    press(find(box, "push button", "Yes"))
    wait_entries(lst, ["keep.mp3"])
    trashed = os.path.join(trash_of(s), "files", "gone.mp3")
    expect(os.path.isfile(trashed), f"the file in the trash at {trashed}",
           os.listdir(folder))
    with open(os.path.join(trash_of(s), "info", "gone.mp3.trashinfo")) as f:
        info = f.read()
    expect("Path=" + quote(os.path.join(folder, "gone.mp3")) in info,
           "the trash knows where it came from", info)


def scenario_output_list_rename_and_delete_from_the_popup(s):
    folder = s.path("music")
    os.makedirs(folder)
    shutil.copy(os.path.join(s.fixtures, "music", "second.mp3"), os.path.join(folder, "a.mp3"))
    app, w, lst = open_folder(s, os.path.join(folder, "a.mp3"))
    click(find(w, "push button", "Convert"))
    wait_status(w, "Conversion completed - File: a.wma")
    out = find(w, "list", "Output files")
    click(entry(out, "a.wma"))

    # The popup's entries are reached with the keyboard from its bottom: Delete, then Rename.
    popup(out, "a.wma", 2)
    box = find(app.window("dialog", " Tonvera"), "text", "Rename")
    wait_text(box, "a.wma")
    key("ctrl+a")
    xdotool("type", "--delay", "20", "b.wma")
    key("Return")
    wait_entries(out, ["b.wma"])
    expect(os.path.isfile(os.path.join(folder, "b.wma")), "the output renamed",
           os.listdir(folder))

    popup(out, "b.wma", 1)
    press(find(app.message_box(" Tonvera"), "push button", "Yes"))
    wait_entries(out, [])
    expect(os.path.isfile(os.path.join(trash_of(s), "files", "b.wma")), "the output in the trash",
           os.listdir(folder))


def popup(lst, name, ups):
    """Opens the popup menu on a list entry and picks the entry that many up from its end."""
    click(entry(lst, name), button=3)
    time.sleep(0.5)
    key(*(["Up"] * ups), "Return")


def dialog_titled(app, start):
    """A dialog whose title begins with start."""
    return wait_until(lambda: next((x for x in app.windows() if role_of(x) == "dialog"
                                    and x.name.startswith(start)), None),
                      f"a dialog titled {start!r}...")


def answer_file_dialog(path):
    """Types a path into the file dialog's name field (which has the keyboard) and accepts."""
    time.sleep(0.5)
    key("ctrl+a")
    xdotool("type", "--delay", "20", path)
    key("Return")


def scenario_move_and_save_as_with_the_keys(s):
    folder = s.path("music")
    target = s.path("moved here")
    os.makedirs(folder)
    os.makedirs(target)
    for name in ("a.mp3", "b.mp3"):
        shutil.copy(os.path.join(s.fixtures, "music", "second.mp3"), os.path.join(folder, name))
    app, w, lst = open_folder(s, os.path.join(folder, "a.mp3"))

    key("alt+m")
    dialog_titled(app, "Choose the folder where MOVE the file a.mp3")
    answer_file_dialog(target)
    wait_entries(lst, ["b.mp3"])
    expect(os.path.isfile(os.path.join(target, "a.mp3")), "a.mp3 moved",
           os.listdir(target))

    click(entry(lst, "b.mp3"))
    key("alt+s")
    dialog_titled(app, "Make a Copy of current file")
    answer_file_dialog(os.path.join(folder, "copy of b"))  # the type's extension is added
    wait_entries(lst, ["b.mp3", "copy of b.mp3"])
    with open(os.path.join(folder, "b.mp3"), "rb") as a, \
            open(os.path.join(folder, "copy of b.mp3"), "rb") as b:
        expect(a.read() == b.read(), "a whole copy", "different bytes")

    # A copy onto an existing file asks first; No leaves it as it was.
    with open(os.path.join(target, "b.mp3"), "wb") as f:
        f.write(b"mine")
    click(entry(lst, "b.mp3"))
    key("alt+s")
    dialog_titled(app, "Make a Copy of current file")
    answer_file_dialog(os.path.join(target, "b.mp3"))
    press(find(app.message_box(" Tonvera"), "push button", "No"))
    time.sleep(0.5)
    with open(os.path.join(target, "b.mp3"), "rb") as f:
        expect(f.read() == b"mine", "the existing file kept", "it was replaced")
