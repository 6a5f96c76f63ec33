# Browsing: the folder a file argument names, the type box, the folder tree.
import os
import time

from e2e import *

MP3S = ["second.mp3", "tagged.mp3", "third.mp3"]
SUPPORTED = MP3S + ["broken.wav", "plain.wav", "clip.wma"]


def scenario_file_argument_opens_its_folder(s):
    music = os.path.join(s.fixtures, "music")
    app = s.start(os.path.join(music, "second.mp3"))
    w = app.main_window()
    lst = input_list(w)
    # A file argument starts with the first type, MP3, and that file picked.
    wait_entries(lst, MP3S)
    wait_text(path_box(w), music)
    expect(first_column(type_box(w).name) == "MP3", "the type box at 'MP3'", type_box(w).name)
    wait_until(lambda: is_selected(entry(lst, "second.mp3")), "second.mp3 picked")
    wait_panel(w, "second.mp3", "Title: Old Style")
    choose(type_box(w), "Supported")
    wait_entries(lst, SUPPORTED)
    choose(type_box(w), "WAV")
    wait_entries(lst, ["broken.wav", "plain.wav"])


def tree_folder(tree, name):
    """The folder tree's entry for a folder, once it is in sight and stays put: the tree fills
    and scrolls to the current folder a while after the window shows. Out of sight, the mouse
    wheel brings it in."""
    seen = []

    def probe():
        box = tree.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        cells = find_all(tree, "table cell", showing=False)
        for cell in cells:
            if cell.name != name:
                continue
            e = cell.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            if e.width <= 0:
                continue
            if e.y < box.y or e.y + e.height > box.y + box.height:
                seen.clear()
                x, y = center(tree)
                xdotool("mousemove", x, y, "click", "4" if e.y < box.y else "5")
                return None
            # Still for a second: no folders coming in above it, no scrolling.
            seen.append((len(cells), e.x, e.y, time.monotonic()))
            still = [s for s in seen if s[:3] == seen[-1][:3]]
            return cell if seen[-1][3] - still[0][3] >= 1.0 else None
        seen.clear()
        return None

    return wait_until(probe, f"the folder {name!r} in sight in the folder tree")


def click_tree_folder(tree, name, button=1):
    """Clicks on a folder's name in the tree."""
    click(tree_folder(tree, name), button, left=12)


def scenario_click_in_folder_tree_opens_the_folder(s):
    music = os.path.join(s.fixtures, "music")
    app = s.start(os.path.join(music, "tagged.mp3"))
    w = app.main_window()
    lst = input_list(w)
    wait_entries(lst, MP3S)
    # The tree shows the folder's way down from the root, its parent's folders beside it.
    click_tree_folder(folder_tree(w), "other")
    wait_text(path_box(w), os.path.join(s.fixtures, "other"))
    wait_entries(lst, ["elsewhere.mp3"])


def scenario_right_click_in_folder_tree_keeps_the_folder(s):
    music = os.path.join(s.fixtures, "music")
    app = s.start(os.path.join(music, "tagged.mp3"))
    w = app.main_window()
    lst = input_list(w)
    wait_entries(lst, MP3S)
    click_tree_folder(folder_tree(w), "other", button=3)
    key("Escape")  # away with the popup menu
    # Give a wrong folder change the time a right one takes, then look.
    try:
        wait_until(lambda: sorted(entry_names(lst)) != MP3S, "a change", timeout=2)
    except Failure:
        pass
    expect(path_box(w).name == music, f"the path box still at {music}", repr(path_box(w).name))
    expect(sorted(entry_names(lst)) == MP3S, f"the list still {MP3S}",
           entry_names(lst))


def focused(root):
    """The control under root that has the keyboard focus, or None."""
    for acc in walk(root):
        try:
            if acc.getState().contains(pyatspi.STATE_FOCUSED):
                return acc
        except Exception:  # gone while we looked
            continue
    return None


def scenario_f4_from_the_drive_box_opens_a_typed_folder(s):
    music = os.path.join(s.fixtures, "music")
    other = os.path.join(s.fixtures, "other")
    app = s.start(os.path.join(music, "tagged.mp3"))
    w = app.main_window()
    lst = input_list(w)
    wait_entries(lst, MP3S)
    # The window takes the keyboard, as a desktop gives it to a new window (a click on a label
    # moves no focus).
    click(find(w, "label", match=lambda t: t.startswith("1 - ")))

    # The focus starts on the drive box, which would open its own list on F4.
    def on_drive_box():
        f = focused(w)
        ok = (f is not None and role_of(f) == "combo box"
              and f.description.strip() not in ("Files type", "Current Path of files"))
        return Seen(ok, describe(f) if f is not None else "no focus")

    wait_until(on_drive_box, "the focus on the drive box")
    key("F4")
    # The path is selected: what is typed replaces it, and Return opens the folder.
    xdotool("type", "--delay", "20", other)
    key("Return")
    wait_entries(lst, ["elsewhere.mp3"])
    wait_text(path_box(w), other)
