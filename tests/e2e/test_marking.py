# Marking files for conversion: All/None and the marked-files count.
import os

from e2e import *

MP3S = ["second.mp3", "tagged.mp3", "third.mp3"]


def start_in_music(s):
    app = s.start(os.path.join(s.fixtures, "music", "tagged.mp3"))
    w = app.main_window()
    lst = input_list(w)
    wait_entries(lst, MP3S)
    return app, w, lst


def selected_names(lst):
    return sorted(first_column(i.name) for i in children(lst) if is_selected(i))


def scenario_all_none_marks_every_entry_and_none(s):
    app, w, lst = start_in_music(s)
    wait_marked_count(w, "(1/3)")  # the file the program was started with
    all_none = find(w, "check box", "All/None")
    click(all_none)
    wait_until(lambda: Seen(selected_names(lst) == MP3S, selected_names(lst)),
               "every entry marked")
    wait_marked_count(w, "(3/3)")
    expect(is_checked(all_none), "All/None ticked", "it clear")
    click(all_none)
    wait_until(lambda: Seen(selected_names(lst) == [], selected_names(lst)), "no entry marked")
    expect(not is_checked(all_none), "All/None clear", "it ticked")


def scenario_all_none_comes_back_after_wm_audio(s):
    app, w, lst = start_in_music(s)
    choose(type_box(w), "WM Audio")
    click(entry(lst, "clip.wma"))
    wait_panel(w, "clip.wma")
    choose(type_box(w), "MP3")
    wait_entries(lst, MP3S)
    all_none = find(w, "check box", "All/None")
    expect(is_enabled(all_none), "All/None enabled for MP3 files", "it disabled")
    click(all_none)
    wait_marked_count(w, "(3/3)")
