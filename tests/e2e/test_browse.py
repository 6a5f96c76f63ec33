# Browsing as a user meets it: the folder a file argument names, the type box, the folder tree
# and the path box; marking files with All/None; what the information panel shows.
import os

from e2e import *

MP3S = ["second.mp3", "tagged.mp3", "third.mp3"]


def scenario_browse_a_folder_and_see_its_files(s):
    music = os.path.join(s.fixtures, "music")
    other = os.path.join(s.fixtures, "other")
    w = s.start(os.path.join(music, "second.mp3")).main_window()
    lst = input_list(w)
    # A file argument starts with the first type, MP3, and that file picked.
    wait_entries(lst, MP3S)
    wait_text(path_box(w), music)
    expect(first_column(type_box(w).name) == "MP3", "the type box at 'MP3'", type_box(w).name)
    wait_entries(lst, ["second.mp3"], selected=True)
    choose(type_box(w), "Supported")
    wait_entries(lst, MP3S + ["broken.wav", "plain.wav", "clip.wma"])
    choose(type_box(w), "WAV")
    wait_entries(lst, ["broken.wav", "plain.wav"])
    # The tree shows the folder's way down from the root, its parent's folders beside it.
    click_tree_folder(w, "other")
    wait_text(path_box(w), other)
    choose(type_box(w), "MP3")
    wait_entries(lst, ["elsewhere.mp3"])
    # F4 leads to the path box, its text selected: what is typed replaces it, Return opens it.
    key("F4")
    type_text(music)
    key("Return")
    wait_entries(lst, MP3S)
    wait_text(path_box(w), music)


def scenario_mark_files_with_all_none(s):
    w = s.start(os.path.join(s.fixtures, "music", "tagged.mp3")).main_window()
    lst = input_list(w)
    wait_marked_count(w, "(1/3)")  # the file the program was started with
    # A WMA clicked in its own type, where All/None is off, leaves it on again for MP3 files.
    choose(type_box(w), "WM Audio")
    click(entry(lst, "clip.wma"))
    wait_panel(w, "clip.wma")
    choose(type_box(w), "MP3")
    wait_entries(lst, MP3S)
    all_none = find(w, "check box", "All/None")
    expect(is_enabled(all_none), "All/None enabled for MP3 files", "it disabled")
    click(all_none)
    wait_entries(lst, MP3S, selected=True)
    wait_marked_count(w, "(3/3)")
    expect(is_checked(all_none), "All/None ticked", "it clear")
    click(all_none)
    wait_entries(lst, [], selected=True)
    expect(not is_checked(all_none), "All/None clear", "it ticked")


# Name, then texts the panel shows for it.
PANEL = [
    ("tagged.mp3", ["Time: 0' 02\"", "Title: Evening Tone", "Artist: Test Band",
                    "Album: Fixtures"]),
    ("second.mp3", ["Time: 0' 01\"", "Title: Old Style", "Artist: Vinyl Band"]),  # ID3v1 only
    ("plain.wav", ["Time: 0' 01\"", "Stereo", "Sampling rate (Hz): 44100",
                   "Bits per sample: 16"]),
    ("clip.wma", ["Time: 0' 02\"", "Title: Morning Tone"]),
]


def scenario_information_panel(s):
    app = s.start(os.path.join(s.fixtures, "music", "third.mp3"))
    w = app.main_window()
    choose(type_box(w), "Supported")
    lst = input_list(w)
    click(entry(lst, "broken.wav"))
    find(w, "label", match=lambda t: t.strip() == "INVALID FILE FORMAT !!!")
    # Each file shows its own data, and the complaint about the broken WAV goes.
    for name, texts in PANEL:
        click(entry(lst, name))
        wait_panel(w, name, *texts)
        shown = label_texts(w)
        expect(not any("INVALID FILE FORMAT" in t for t in shown),
               f"no format complaint about {name}", shown)
    app.close()

    folder = os.path.join(s.fixtures, "long")
    w = s.start(os.path.join(folder, "frames.mp3")).main_window()
    # The accessibility bus cuts a text at a zero character: a zero shown after the title
    # would cut the rest of the panel text away, and show as a box on screen.
    wait_panel(w, "frames.mp3", "Title: Night Tone")
    shown = "\n".join(label_texts(w))
    expect("Title: Night Tone\nArtist: Frame Band\n" in shown and "Genre: Jazz" in shown,
           "title, artist and genre shown whole", label_texts(w))
    # A name wider than the window is cut, and the window keeps its size.
    long_name = next(n for n in os.listdir(folder) if n != "frames.mp3")
    before = extents(w)
    click(entry(input_list(w), long_name[:30], prefix=True))
    find(w, "label", match=lambda t: long_name[:30] in t)
    after = extents(w)
    expect((after.width, after.height) == (before.width, before.height),
           f"the window still {before.width}x{before.height}", f"{after.width}x{after.height}")
