# Browsing as a user meets it: the folder a file argument names, marking files with All/None,
# what the information panel shows for each kind of file, the path box and the folder tree.
import os

from e2e import *

MP3S = ["second.mp3", "tagged.mp3", "third.mp3"]
SUPPORTED = MP3S + ["broken.wav", "plain.wav", "clip.wma"]

# Name, then texts the panel shows for it: an ID3v2 tag, a WAV header and a WMA read through
# the real libraries (the panel's rules are the window tests'). The accessibility bus cuts a
# text at a zero character: a zero shown after the title of tagged.mp3 would cut the rest away.
PANEL = [
    ("tagged.mp3", ["Time: 0' 02\"", "Title: Evening Tone\nArtist: Test Band\nAlbum: Fixtures",
                    "Genre: Jazz"]),
    ("plain.wav", ["Time: 0' 01\"", "Stereo", "Sampling rate (Hz): 44100",
                   "Bits per sample: 16"]),
    ("clip.wma", ["Time: 0' 02\"", "Title: Morning Tone"]),
]


def scenario_browse_a_folder_and_see_its_files(s):
    music = os.path.join(s.fixtures, "music")
    w = s.start(os.path.join(music, "second.mp3")).main_window()
    lst = input_list(w)
    # A file argument starts with the first type, MP3, and that file picked and counted.
    wait_entries(lst, MP3S)
    wait_entries(lst, ["second.mp3"], selected=True)
    wait_marked_count(w, "(1/3)")
    wait_text(path_box(w), music)
    all_none = find(w, "check box", "All/None")
    click(all_none)
    wait_entries(lst, MP3S, selected=True)
    wait_marked_count(w, "(3/3)")
    expect(is_checked(all_none), "All/None ticked", "it clear")
    click(all_none)
    wait_entries(lst, [], selected=True)

    # Each file shows its own data, and the complaint about the broken WAV goes.
    choose(type_box(w), "Supported")
    wait_entries(lst, SUPPORTED)
    click(entry(lst, "broken.wav"))
    find(w, "label", match=lambda t: t.strip() == "INVALID FILE FORMAT !!!")
    for name, texts in PANEL:
        click(entry(lst, name))
        wait_panel(w, name, *texts)
        shown = label_texts(w)
        expect(not any("INVALID FILE FORMAT" in t for t in shown),
               f"no format complaint about {name}", shown)

    # F4 leads to the path box, its text selected: what is typed replaces it, and Return opens
    # the folder.
    key("F4")
    field = find(w, "text", "Current Path of files")
    wait_until(lambda: has_state(field, pyatspi.STATE_FOCUSED), "the path box to take the keys")
    type_text(os.path.join(s.fixtures, "other"))
    key("Return")
    wait_entries(lst, ["elsewhere.mp3"])
    # The tree shows the folder's way down from the root, its parent's folders beside it.
    click_tree_folder(w, "music")
    wait_text(path_box(w), music)
    wait_entries(lst, SUPPORTED)
