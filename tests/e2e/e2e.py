"""Drives the built Tonvera through its accessibility tree, as a screen reader or a GUI test
tool does: controls are found by role and accessible name, pressed through their actions or
clicked with the real mouse (xdotool) at their place on screen, and checked by what a user
reads. Run by tests/e2e/run, which provides the private display, sound server and buses.

A scenario is a function named scenario_* in a tests/e2e/test_*.py file that takes a Session.
It fails by raising Failure (expect() and the wait helpers do that).
"""

import collections
import importlib.util
import json
import os
import re
import signal
import subprocess
import sys
import tempfile
import time
import traceback

import pyatspi

# Generous: the machine is shared, and a first start of the program loads a lot. A run
# encodes real audio: far more than a user would wait for a button.
TIMEOUT, RUN_TIMEOUT = 20.0, 60.0
FF = ["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y"]


class Failure(Exception):
    pass


def expect(condition, expected, seen):
    if not condition:
        raise Failure(f"expected {expected}\n      saw {seen}")


# A probe's answer, and what it saw for the failure message while the answer is not yet true.
Seen = collections.namedtuple("Seen", "value seen")


def wait_until(probe, what, timeout=TIMEOUT):
    """Polls probe() until it returns something true (or a true Seen); returns that value."""
    deadline = time.monotonic() + timeout
    seen = None
    while True:
        try:
            result = probe()
        except (Failure, LookupError) as e:
            result, seen = None, str(e)
        except Exception as e:  # the tree changes under us while the program works
            result, seen = None, f"{type(e).__name__}: {e}"
        if isinstance(result, Seen):
            result, seen = result
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"expected {what} within {timeout:.0f} s\n      saw {seen}")
        time.sleep(0.1)


def role_of(acc):
    return acc.getRoleName()


def has_state(acc, state):
    return acc.getState().contains(state)


def is_showing(acc):
    return has_state(acc, pyatspi.STATE_SHOWING)


def is_enabled(acc):
    return has_state(acc, pyatspi.STATE_ENABLED)


def is_checked(acc):
    return has_state(acc, pyatspi.STATE_CHECKED)


def children(acc):
    out = []
    try:
        for i in range(acc.childCount):
            c = acc.getChildAtIndex(i)
            if c is not None:
                out.append(c)
    except Exception:  # gone while we looked: the folder tree follows the disk
        pass
    return out


# Roles of the entries of lists and trees, and of what holds them.
ITEM_ROLES = {"list item", "table cell", "tree item", "table row", "table column header"}
HOLDERS = {"list", "tree", "tree table", "table"}


def walk(acc, items=False):
    """acc and everything under it; the entries of lists and trees only when items is true (the
    folder tree holds hundreds, which come and go with the disk)."""
    yield acc
    try:
        if not items and role_of(acc) in HOLDERS:
            return
    except Exception:  # gone while we looked
        return
    for c in children(acc):
        yield from walk(c, items)


def text_of(acc):
    """What a user reads on a control: its text if it has any, else its name."""
    try:
        t = acc.queryText()
        return t.getText(0, t.characterCount)
    except NotImplementedError:
        return acc.name


def describe(acc):
    return f"[{role_of(acc)}] {acc.name!r}"


def extents(acc):
    return acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)


def center(acc):
    ext = extents(acc)
    if ext.width <= 0 or ext.height <= 0:
        raise Failure(f"{describe(acc)} has no place on screen")
    return ext.x + ext.width // 2, ext.y + ext.height // 2


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)


def click(acc, button=1, left=None):
    """A real mouse click in the middle of the control, or this many pixels from its left edge
    (a tree row can be wider than the tree: its middle may be out of sight)."""
    x, y = center(acc)
    if left is not None:
        x = extents(acc).x + left
    # --sync waits for the pointer to move, which never comes when it is there already.
    where = subprocess.run(["xdotool", "getmouselocation", "--shell"], check=True,
                           capture_output=True, text=True).stdout
    if f"X={x}\nY={y}\n" not in where:
        xdotool("mousemove", "--sync", x, y)
    xdotool("click", button)


def key(*keys):
    """Keys as a user types them, to whichever window has the keyboard."""
    xdotool("key", "--clearmodifiers", *keys)


def type_text(text):
    xdotool("type", "--delay", "20", text)


def press(acc):
    """Runs the control's Press action. Not "Toggle": Qt's toggle action flips a check box
    without the click the program acts on."""
    action = acc.queryAction()
    offered = [action.getName(i) for i in range(action.nActions)]
    for i, name in enumerate(offered):
        if name.lower() in ("press", "click"):
            return action.doAction(i)
    raise Failure(f"{describe(acc)} offers actions {offered}, no Press")


class App:
    """One running tonvera process and its accessible application object."""

    def __init__(self, folder, program, args):
        env = dict(os.environ, HOME=os.path.join(folder, "home"),
                   XDG_CONFIG_HOME=os.path.join(folder, "config"))
        # Qt 6.4 never turns its bridge on when the bus address comes from this variable;
        # through the session bus it finds the same bus and works.
        env.pop("AT_SPI_BUS_ADDRESS", None)
        for d in (env["HOME"], env["XDG_CONFIG_HOME"]):
            os.makedirs(d, exist_ok=True)
        self.log_path = os.path.join(folder, "tonvera.log")
        self.log = open(self.log_path, "ab")
        self.proc = subprocess.Popen([program, *args], env=env, cwd=env["HOME"], stdout=self.log,
                                     stderr=subprocess.STDOUT)
        self.acc = wait_until(self._find_app, "the program to show up on the accessibility bus")

    def _find_app(self):
        if self.proc.poll() is not None:
            raise Failure(f"the program ended with status {self.proc.returncode}")
        for app in children(pyatspi.Registry.getDesktop(0)):
            try:
                if app.get_process_id() == self.proc.pid:
                    return app
            except Exception:
                continue
        return None

    def windows(self):
        """The program's top-level windows a user sees."""
        return [w for w in children(self.acc) if is_showing(w)]

    def window(self, roles, name=None, start=None):
        """A window of one of these roles (joined by commas, None for any), with this title or a
        title beginning with start."""

        def probe():
            for w in self.windows():
                if ((roles is None or role_of(w) in roles.split(","))
                        and w.name == (name or w.name) and w.name.startswith(start or "")):
                    return w
            return Seen(None, "windows " + ", ".join(describe(w) for w in self.windows()))

        return wait_until(probe, f"a {roles or ''} window {name or start or ''!r}")

    def main_window(self):
        return self.window("frame")

    def dialogs(self):
        """The dialogs and message boxes shown (Qt shows some as alerts, some as dialogs)."""
        return [describe(x) for x in self.windows() if role_of(x) in ("alert", "dialog")]

    def wait_no_dialog(self, what="the dialog to close"):
        wait_until(lambda: Seen(not self.dialogs(), self.dialogs()), what)

    def answer(self, button, *question):
        """Answers the message box that asks all of question with button."""
        box = self.window("alert,dialog", " Tonvera")
        find(box, "label", match=lambda t: all(q in t for q in question))
        press(find(box, "push button", button))
        self.wait_no_dialog("the question to go")

    def close(self):
        # The program ends on SIGTERM as it does when the desktop session ends.
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.log.close()


def find_all(root, role, showing=True):
    found = []
    for acc in walk(root, items=role in ITEM_ROLES):
        try:
            if role_of(acc) == role and (not showing or is_showing(acc)):
                found.append(acc)
        except Exception:  # gone while we looked
            continue
    return found


def find(root, role, name=None, match=None, tooltip=None):
    """Waits for a control of this role shown under root, with this accessible name (or whose
    name passes match, or with this tooltip)."""

    def probe():
        found = find_all(root, role)
        for acc in found:
            if ((name is None or acc.name == name) and (match is None or match(acc.name))
                    and (tooltip is None or acc.description.strip() == tooltip)):
                return acc
        return Seen(None, f"{role}s named {[acc.name for acc in found]}")

    return wait_until(probe, f"a {role} {name or tooltip or ''!r} in {describe(root)}")


def wait_text(acc, wanted):
    wait_until(lambda: Seen(text_of(acc) == wanted, repr(text_of(acc))),
               f"{describe(acc)} to read {wanted!r}")


def type_into(acc, text):
    """Clicks into a text field, selects what it holds and types text over it."""
    click(acc)
    key("ctrl+a")
    type_text(text)
    wait_text(acc, text)


def first_column(line):
    """What a list line or box entry shows first: the text up to the first run of blanks (the
    lines are laid out in columns, the file name first)."""
    return re.split(r"\s{2,}", line.strip())[0]


def entry_names(lst, selected=False):
    return [first_column(text_of(i)) for i in children(lst) if role_of(i) == "list item"
            and (not selected or has_state(i, pyatspi.STATE_SELECTED))]


def entry(lst, name, prefix=False):
    """Waits for the list entry whose first column reads name (or begins with it: a long name
    is cut to the column's width)."""

    def probe():
        for item in children(lst):
            shown = first_column(item.name)
            if role_of(item) == "list item" and (shown.startswith(name) if prefix
                                                 else shown == name):
                return item
        return Seen(None, entry_names(lst))

    return wait_until(probe, f"an entry {name!r} in {describe(lst)}")


def wait_entries(lst, names, selected=False):
    """Waits until the list holds exactly these entries (or has exactly these selected)."""
    wanted = sorted(names)
    wait_until(lambda: Seen(sorted(entry_names(lst, selected)) == wanted, entry_names(lst)),
               f"{describe(lst)} to {'select' if selected else 'list'} {wanted}")


def choose(box, wanted):
    """Picks an entry of a drop-down box with the mouse, as a user does: a click opens the
    list, a click on the entry picks it."""
    click(box)

    def opened():
        for item in walk(box, items=True):
            if role_of(item) == "list item" and first_column(item.name) == wanted:
                # Closed, the list has no place of its own on screen.
                if extents(item.parent).width > 0 and extents(item).width > 0:
                    return item
        return None

    click(wait_until(opened, f"{describe(box)} to open with an entry {wanted!r}"))
    wait_until(lambda: Seen(first_column(box.name) == wanted, repr(box.name)),
               f"{describe(box)} to read {wanted!r}")


def label_texts(root):
    return [text_of(a) for a in find_all(root, "label")]


# The main window's controls, by what a user or a screen reader knows them as. Qt on Linux
# names a drop-down box by its current entry; its tooltip says what it is.
def input_list(w):
    return find(w, "list", "Select files to be converted")


def type_box(w):
    return find(w, "combo box", tooltip="Files type")


def path_box(w):
    return find(w, "combo box", tooltip="Current Path of files")


def button(w, name):
    return find(w, "push button", name)


def keyboard_to(w):
    """The window takes the keyboard, as a desktop gives it to a new window (a click on a
    label moves no focus)."""
    click(find(w, "label", match=lambda t: t.startswith("1 - ")))


def wait_marked_count(w, wanted):
    """Waits for the "(marked/listed)" count beside the input list."""

    def probe():
        counts = [m[1] for t in label_texts(w) if (m := re.search(r"(\(\d+/\d+\))\s*$", t))]
        return Seen(counts == [wanted], counts)

    wait_until(probe, f"the marked-files count to read {wanted}")


def wait_panel(w, name, *texts):
    """Waits until the information panel shows the file name and every one of texts."""

    def probe():
        labels = label_texts(w)
        shown = "\n".join(labels)
        return Seen(any(t.strip() == name for t in labels) and all(t in shown for t in texts),
                    labels)

    wait_until(probe, f"the panel to show {name!r} with {list(texts)}")


def wait_status(w, wanted, timeout=RUN_TIMEOUT):
    """Waits for the status line, which reports a run's end, to say wanted."""
    wait_until(lambda: Seen(any(wanted in t for t in label_texts(w)), label_texts(w)),
               f"the status line to say {wanted!r}", timeout)


def click_tree_folder(w, name):
    """Clicks on a folder's name in the tree, once it is in sight and stays put: the tree fills
    and scrolls to the current folder a while after the window shows. Out of sight, the mouse
    wheel brings it in."""
    tree = find(w, "tree", "Select folder")
    seen = []

    def probe():
        box = extents(tree)
        cells = find_all(tree, "table cell", showing=False)
        for cell in cells:
            if cell.name != name:
                continue
            e = extents(cell)
            if e.width <= 0:
                continue
            if e.y < box.y or e.y + e.height > box.y + box.height:
                seen.clear()
                x, y = center(tree)
                xdotool("mousemove", x, y, "click", "4" if e.y < box.y else "5")
                return None
            # Still for a second: no folders coming in above it, no scrolling, the tree's
            # highlight where it goes.
            selected = tuple(c.name for c in cells if has_state(c, pyatspi.STATE_SELECTED))
            seen.append((len(cells), e.x, e.y, selected, time.monotonic()))
            still = [s for s in seen if s[:4] == seen[-1][:4]]
            return cell if seen[-1][4] - still[0][4] >= 1.0 else None
        seen.clear()
        return None

    click(wait_until(probe, f"the folder {name!r} in sight in the folder tree"), left=12)


def make_audio(path, seconds, codec, tags=None):
    """A stereo sine tone of this length in this codec (ffmpeg's name), with these tags (an
    ID3v2.3 tag and an ID3v1 tag in an MP3), as a user's file would be."""
    fields = [f for name, value in (tags or {}).items() for f in ("-metadata", f"{name}={value}")]
    if codec == "libmp3lame":
        fields += ["-id3v2_version", "3", "-write_id3v1", "1"]
    subprocess.run(FF + ["-f", "lavfi", "-i", f"sine=frequency=440:duration={seconds}", "-ac",
                         "2", "-c:a", codec] + fields + [path], check=True)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def expect_wma(path, seconds=None, **tags):
    """The output is WMA v2 in ASF (a cover shows as a picture stream beside the audio), about
    as long as its source, with these tags, as ffprobe reads it."""
    name = os.path.basename(path)
    out = subprocess.run(["ffprobe", "-v", "error", "-print_format", "json", "-show_format",
                          "-show_streams", path], capture_output=True, text=True)
    expect(out.returncode == 0, f"ffprobe reading {name}",
           f"{out.stderr} in {os.listdir(os.path.dirname(path))}")
    info = json.loads(out.stdout)
    fmt = info["format"]
    codecs = [st.get("codec_name") for st in info["streams"]
              if not st.get("disposition", {}).get("attached_pic")]
    expect(fmt["format_name"] == "asf" and codecs == ["wmav2"], f"{name}: wmav2 in ASF", info)
    duration = float(fmt.get("duration", 0))
    expect(seconds is None or abs(duration - seconds) < 0.5, f"{name} {seconds} s long", duration)
    found = {k.lower(): v for k, v in fmt.get("tags", {}).items()}
    for field, wanted in tags.items():
        expect(found.get(field) == wanted, f"{name}: {field} {wanted!r}", found)


def temporaries(folder):
    """A run's temporary files: the decoded wave, the encoder's output and the part file that
    output is written through."""
    return [n for n in os.listdir(folder) if n.startswith(("~tmpw_", ".~tmpw_"))]


class Session:
    """What one scenario works with: the program, a folder of its own, the fixtures."""

    def __init__(self, runner, name):
        self.program, self.fixtures = runner.program, runner.fixtures
        self.folder = tempfile.mkdtemp(prefix=name + ".", dir=runner.work)
        self.apps = []

    def start(self, *args, language="English", program=None):
        """Starts the program; with a language, answers the first-start chooser with it (the
        chooser comes only while no language is stored) and waits for the main window."""
        app = App(self.folder, program or self.program, list(args))
        self.apps.append(app)
        if language is not None:
            w = app.window("dialog,frame")
            if role_of(w) == "dialog":
                press(find(w, "push button", language))
            app.main_window()
        return app

    def path(self, *parts):
        return os.path.join(self.folder, *parts)


def run(runner, name, fn):
    """Runs one scenario; a failure is told with a screenshot and the program's output."""
    session = Session(runner, name)
    started = time.monotonic()
    detail = None
    try:  # the program goes on every way out, an interruption too
        try:
            fn(session)
        except Failure as e:
            detail = str(e)
        except Exception:
            detail = traceback.format_exc().rstrip()
        if detail:  # while the program still shows what went wrong
            shot = os.path.join(tempfile.gettempdir(), f"tonvera-e2e-{name}.png")
            subprocess.run(["import", "-window", "root", shot], check=False,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            detail += f"\nscreenshot: {shot}"
    finally:
        for app in session.apps:
            app.close()
    if not detail:
        print(f"ok     {name}  {time.monotonic() - started:.1f} s", flush=True)
        return True
    if session.apps:  # Qt's complaints about rows that went while we read are noise here
        with open(session.apps[0].log_path, errors="replace") as f:
            detail += "\nprogram output:\n" + "\n".join([l for l in f.read().splitlines() if
                                                         "QAccessible" not in l][-30:])
    print(f"FAIL   {name}\n      " + detail.replace("\n", "\n      "), flush=True)
    return False


def main():
    # Scenario files import this module by name; they must share its classes with the runner.
    sys.modules.setdefault("e2e", sys.modules[__name__])
    runner = collections.namedtuple("Runner", "program fixtures work")(*sys.argv[1:4])
    only = sys.argv[4:]
    folder = os.path.dirname(os.path.abspath(__file__))
    found = []
    for file in sorted(os.listdir(folder)):
        if file.startswith("test_") and file.endswith(".py"):
            source = importlib.util.spec_from_file_location(file[:-3], os.path.join(folder, file))
            module = importlib.util.module_from_spec(source)
            source.loader.exec_module(module)
            found += [(file, fn.__code__.co_firstlineno, f"{file[5:-3]}.{attr[9:]}", fn)
                      for attr, fn in vars(module).items() if attr.startswith("scenario_")]
    results = [run(runner, name, fn) for _, _, name, fn in sorted(found, key=lambda f: f[:2])
               if not only or any(o in name for o in only)]
    print(f"{results.count(True)} passed, {results.count(False)} failed")
    return 0 if all(results) else 1


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    sys.exit(main())
