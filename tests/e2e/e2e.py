"""Drives the built Tonvera through its accessibility tree, as a screen reader or a GUI test
tool does: controls are found by role and accessible name, pressed through their actions or
clicked with the real mouse (xdotool) at their place on screen, and checked by what a user
reads. Run by tests/e2e/run, which provides the private display, sound server and buses.

A scenario is a function named scenario_* in a tests/e2e/test_*.py file that takes a Session.
It fails by raising Failure (expect() and the wait helpers do that); a scenario that shows a
product fault known to be under repair is marked @known_fault("why") and counts as xfail.
"""

import importlib.util
import os
import re
import signal
import subprocess
import sys
import tempfile
import time
import traceback

import pyatspi

# Generous: the machine is shared, and a first start of the program loads a lot.
TIMEOUT = 20.0
POLL = 0.1


class Failure(Exception):
    pass


def known_fault(reason):
    """Marks a scenario that fails because of a product fault being fixed elsewhere."""

    def mark(fn):
        fn.known_fault = reason
        return fn

    return mark


def expect(condition, expected, seen):
    if not condition:
        raise Failure(f"expected {expected}\n      saw {seen}")


def wait_until(probe, what, timeout=TIMEOUT):
    """Polls probe() until it returns something true; returns it, or fails with what was seen.

    probe may return a (value, seen) pair through Seen to say what it saw when not yet true.
    """
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
            result, seen = result.value, result.seen
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"expected {what} within {timeout:.0f} s\n      saw {seen}")
        time.sleep(POLL)


class Seen:
    def __init__(self, value, seen):
        self.value, self.seen = value, seen


def role_of(acc):
    return acc.getRoleName()


def is_showing(acc):
    return acc.getState().contains(pyatspi.STATE_SHOWING)


def is_enabled(acc):
    return acc.getState().contains(pyatspi.STATE_ENABLED)


def is_checked(acc):
    return acc.getState().contains(pyatspi.STATE_CHECKED)


def is_selected(acc):
    return acc.getState().contains(pyatspi.STATE_SELECTED)


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
    try:
        return f"[{role_of(acc)}] {acc.name!r}"
    except Exception as e:
        return f"<gone: {e}>"


def center(acc):
    ext = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
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
        x = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).x + left
    # --sync waits for the pointer to move, which never comes when it is there already.
    where = subprocess.run(["xdotool", "getmouselocation", "--shell"], check=True,
                           capture_output=True, text=True).stdout
    if f"X={x}\nY={y}\n" not in where:
        xdotool("mousemove", "--sync", x, y)
    xdotool("click", button)


def key(*keys):
    """Keys as a user types them, to whichever window has the keyboard."""
    xdotool("key", "--clearmodifiers", *keys)


def do_action(acc, *names):
    """Runs the first of the named actions the control offers (Press, Toggle, ...)."""
    action = acc.queryAction()
    offered = [action.getName(i) for i in range(action.nActions)]
    for wanted in names:
        for i, name in enumerate(offered):
            if name.lower() == wanted.lower():
                action.doAction(i)
                return
    raise Failure(f"{describe(acc)} offers actions {offered}, none of {list(names)}")


def press(acc):
    # Not "Toggle": Qt's toggle action flips a check box without the click the program acts on.
    do_action(acc, "Press", "Click")


class App:
    """One running tonvera process and its accessible application object."""

    def __init__(self, session, args, folder):
        self.session = session
        self.folder = folder
        env = dict(os.environ)
        env["HOME"] = os.path.join(folder, "home")
        env["XDG_CONFIG_HOME"] = os.path.join(folder, "config")
        # Qt 6.4 never turns its bridge on when the bus address comes from this variable;
        # through the session bus it finds the same bus and works.
        env.pop("AT_SPI_BUS_ADDRESS", None)
        for d in (env["HOME"], env["XDG_CONFIG_HOME"]):
            os.makedirs(d, exist_ok=True)
        self.log_path = os.path.join(folder, "tonvera.log")
        self.log = open(self.log_path, "ab")
        self.proc = subprocess.Popen(
            [session.program, *args], env=env, cwd=env["HOME"], stdout=self.log,
            stderr=subprocess.STDOUT)
        self.acc = wait_until(self._find_app, "the program to show up on the accessibility bus")

    def _find_app(self):
        if self.proc.poll() is not None:
            raise Failure(f"the program ended with status {self.proc.returncode}")
        desktop = pyatspi.Registry.getDesktop(0)
        for app in children(desktop):
            try:
                if app.get_process_id() == self.proc.pid:
                    return app
            except Exception:
                continue
        return None

    def windows(self):
        """The program's top-level windows a user sees."""
        return [w for w in children(self.acc) if is_showing(w)]

    def window(self, role, name=None, timeout=TIMEOUT):
        def probe():
            shown = self.windows()
            for w in shown:
                if role_of(w) == role and (name is None or w.name == name):
                    return w
            return Seen(None, "windows " + ", ".join(describe(w) for w in shown))

        return wait_until(probe, f"a {role} window {name!r}" if name else f"a {role} window",
                          timeout)

    def message_box(self, title, timeout=TIMEOUT):
        """A question or message box with this title (Qt shows some as alerts, some as
        dialogs)."""

        def probe():
            shown = self.windows()
            for w in shown:
                if role_of(w) in ("alert", "dialog") and w.name == title:
                    return w
            return Seen(None, "windows " + ", ".join(describe(w) for w in shown))

        return wait_until(probe, f"a message box {title!r}", timeout)

    def main_window(self, timeout=TIMEOUT):
        return self.window("frame", timeout=timeout)

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


def find(root, role, name=None, match=None, tooltip=None, showing=True, timeout=TIMEOUT):
    """Waits for a control of this role under root, with this accessible name (or whose name
    passes match, or with this tooltip), shown on screen unless showing is False."""

    def probe():
        near = []
        for acc in find_all(root, role, showing):
            if ((name is None or acc.name == name) and (match is None or match(acc.name))
                    and (tooltip is None or acc.description.strip() == tooltip)):
                return acc
            near.append(acc.name)
        return Seen(None, f"{role}s named {near}")

    what = f"a {role}"
    if name is not None:
        what += f" named {name!r}"
    if tooltip is not None:
        what += f" with the tooltip {tooltip!r}"
    return wait_until(probe, f"{what} in {describe(root)}", timeout)


def find_all(root, role, showing=True):
    found = []
    for acc in walk(root, items=role in ITEM_ROLES):
        try:
            if role_of(acc) == role and (not showing or is_showing(acc)):
                found.append(acc)
        except Exception:  # gone while we looked
            continue
    return found


def wait_text(acc, wanted, timeout=TIMEOUT):
    """Waits until the control reads wanted."""

    def probe():
        t = text_of(acc)
        return Seen(t == wanted, repr(t))

    wait_until(probe, f"{describe(acc)} to read {wanted!r}", timeout)


def list_entries(lst):
    """The texts of a list's entries, in order."""
    return [text_of(item) for item in children(lst) if role_of(item) == "list item"]


def first_column(line):
    """What a list line or box entry shows first: the text up to the first run of blanks (the
    lines are laid out in columns, the file name first)."""
    return re.split(r"\s{2,}", line.strip())[0]


def entry_names(lst):
    return [first_column(t) for t in list_entries(lst)]


def entry(lst, name, prefix=False, timeout=TIMEOUT):
    """Waits for the list entry whose first column reads name (or begins with it: a long name
    is cut to the column's width)."""

    def probe():
        for item in children(lst):
            shown = first_column(item.name)
            if role_of(item) == "list item" and (shown.startswith(name) if prefix
                                                 else shown == name):
                return item
        return Seen(None, entry_names(lst))

    return wait_until(probe, f"an entry {name!r} in {describe(lst)}", timeout)


def wait_entries(lst, names, timeout=TIMEOUT):
    """Waits until the list holds exactly these entries, in any order."""
    wanted = sorted(names)
    wait_until(lambda: Seen(sorted(entry_names(lst)) == wanted, entry_names(lst)),
               f"{describe(lst)} to list {wanted}", timeout)


def choose(box, wanted, timeout=TIMEOUT):
    """Picks an entry of a drop-down box with the mouse, as a user does: a click opens the
    list, a click on the entry picks it."""
    click(box)

    def opened():
        for item in walk(box, items=True):
            if role_of(item) == "list item" and first_column(item.name) == wanted:
                ext = item.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                # Closed, the list has no place of its own on screen.
                parent = item.parent.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                if parent.width > 0 and ext.width > 0:
                    return item
        return None

    click(wait_until(opened, f"{describe(box)} to open with an entry {wanted!r}", timeout))
    wait_until(lambda: Seen(first_column(box.name) == wanted, repr(box.name)),
               f"{describe(box)} to read {wanted!r}", timeout)


def label_texts(root):
    """The texts of every label shown under root."""
    return [text_of(a) for a in find_all(root, "label")]


OPERABLE = {"push button", "toggle button", "check box", "radio button", "combo box", "list",
            "tree", "tree table", "table", "text", "password text", "entry", "scroll bar",
            "slider", "spin button", "menu", "menu item", "check menu item", "radio menu item",
            "page tab"}


def nameless_controls(root):
    """The controls shown under root that a user can operate but a screen reader cannot name."""
    out = []

    for acc in walk(root):
        try:
            role = role_of(acc)
            if role not in OPERABLE or not is_showing(acc) or inside(acc, "combo box"):
                continue
            ext = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            # A control of no size is still reached when the focus lands on it.
            reached = (ext.width > 0 and ext.height > 0) or (
                is_enabled(acc) and acc.getState().contains(pyatspi.STATE_FOCUSABLE))
            if reached and not acc.name.strip():
                out.append(f"{role} at {ext.x},{ext.y} (tooltip {acc.description.strip()!r})")
        except Exception:  # gone while we looked
            continue
    return out


def inside(acc, role):
    parent = acc.parent
    while parent is not None:
        if role_of(parent) == role:
            return True
        parent = parent.parent
    return False


# The main window's controls, by what a user or a screen reader knows them as.
def input_list(w):
    return find(w, "list", "Select files to be converted")


def folder_tree(w):
    return find(w, "tree", "Select folder")


def type_box(w):
    # Qt on Linux names a drop-down box by its current entry; its tooltip says what it is.
    return find(w, "combo box", tooltip="Files type")


def path_box(w):
    return find(w, "combo box", tooltip="Current Path of files")


def marked_count(w):
    """The "(marked/listed)" count a label beside the input list shows, or None."""
    for t in label_texts(w):
        m = re.search(r"\((\d+)/(\d+)\)\s*$", t)
        if m:
            return m.group(0).strip()
    return None


def wait_marked_count(w, wanted, timeout=TIMEOUT):
    wait_until(lambda: Seen(marked_count(w) == wanted, marked_count(w)),
               f"the marked-files count to read {wanted}", timeout)


def wait_panel(w, name, *texts, timeout=TIMEOUT):
    """Waits until the information panel shows the file name and every one of texts."""

    def probe():
        labels = label_texts(w)
        shown = "\n".join(labels)
        ok = any(t.strip() == name for t in labels) and all(t in shown for t in texts)
        return Seen(ok, labels)

    wait_until(probe, f"the panel to show {name!r} with {list(texts)}", timeout)


class Session:
    """What one scenario works with: the program, a folder of its own, the fixtures."""

    def __init__(self, runner, name):
        self.runner = runner
        self.name = name
        self.program = runner.program
        self.fixtures = runner.fixtures
        self.folder = tempfile.mkdtemp(prefix=name + ".", dir=runner.work)
        self.apps = []

    def start(self, *args, language="English"):
        """Starts the program; with a language, answers the first-start chooser with it (the
        chooser comes only while no language is stored) and waits for the main window."""
        app = App(self, list(args), self.folder)
        self.apps.append(app)
        if language is not None:
            answer_chooser_if_shown(app, language)
            app.main_window()
        return app

    def path(self, *parts):
        return os.path.join(self.folder, *parts)

    def close(self):
        for app in self.apps:
            app.close()


def answer_chooser_if_shown(app, language):
    def probe():
        for w in app.windows():
            if role_of(w) == "dialog":
                return w
            if role_of(w) == "frame":
                return w
        return None

    w = wait_until(probe, "the language chooser or the main window")
    if role_of(w) == "dialog":
        press(find(w, "push button", language))


class Runner:
    def __init__(self, program, fixtures, work):
        self.program = program
        self.fixtures = fixtures
        self.work = work
        self.shots = None
        self.passed = self.failed = self.xfailed = 0

    def screenshot(self, name):
        if self.shots is None:
            self.shots = tempfile.mkdtemp(prefix="tonvera-e2e-shots.")
        path = os.path.join(self.shots, name + ".png")
        subprocess.run(["import", "-window", "root", path], check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path

    def run(self, name, fn):
        session = Session(self, name)
        started = time.monotonic()
        reason = getattr(fn, "known_fault", None)
        shot = None
        try:  # the program goes on every way out, an interruption too
            try:
                fn(session)
                outcome, detail = "ok", None
            except Failure as e:
                outcome, detail = "FAIL", str(e)
            except Exception:
                outcome, detail = "FAIL", traceback.format_exc().rstrip()
            if outcome == "FAIL" and not reason:
                shot = self.screenshot(name)  # while the program still shows what went wrong
        finally:
            session.close()
        took = time.monotonic() - started
        if outcome == "ok":
            self.passed += 1
            note = f"  (known fault no longer shows: {reason})" if reason else ""
            print(f"ok     {name}  {took:.1f} s{note}", flush=True)
            return
        if reason:
            self.xfailed += 1
            print(f"xfail  {name}: {reason}", flush=True)
            print("      " + detail.replace("\n", "\n      "), flush=True)
            return
        self.failed += 1
        print(f"FAIL   {name}", flush=True)
        print("      " + detail.replace("\n", "\n      "), flush=True)
        print(f"      screenshot: {shot}", flush=True)
        for app in session.apps:
            with open(app.log_path, errors="replace") as f:
                # Qt's complaints about rows that went while we read the tree are noise here.
                lines = [l for l in f.read().splitlines()
                         if l.strip() and "QAccessible" not in l and "qt.accessibility" not in l]
            if lines:
                print("      program output:\n        " + "\n        ".join(lines[-30:]))


def load_scenarios(folder, only):
    found = []
    for file in sorted(os.listdir(folder)):
        if not (file.startswith("test_") and file.endswith(".py")):
            continue
        source = importlib.util.spec_from_file_location(file[:-3], os.path.join(folder, file))
        module = importlib.util.module_from_spec(source)
        source.loader.exec_module(module)
        for attr, fn in vars(module).items():
            if attr.startswith("scenario_") and callable(fn):
                name = f"{file[5:-3]}.{attr[9:]}"
                if not only or any(o in name for o in only):
                    found.append((fn.__code__.co_firstlineno, file, name, fn))
    return [(name, fn) for _, _, name, fn in sorted(found, key=lambda f: (f[1], f[0]))]


def main():
    # Scenario files import this module by name; they must share its classes with the runner.
    sys.modules.setdefault("e2e", sys.modules[__name__])
    program, fixtures, work, *only = sys.argv[1:]
    runner = Runner(program, fixtures, work)
    for name, fn in load_scenarios(os.path.dirname(os.path.abspath(__file__)), only):
        runner.run(name, fn)
    if runner.shots:
        print(f"screenshots of failures: {runner.shots}")
    if runner.xfailed:
        print(f"{runner.xfailed} known faults (xfail, not counted as failed)")
    print(f"{runner.passed} passed, {runner.failed} failed")
    return 1 if runner.failed else 0


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    sys.exit(main())
