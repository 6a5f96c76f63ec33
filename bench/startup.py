#!/usr/bin/python3
"""Start-up of the window: from the start of the process to its main window on screen, and the
memory it holds once shown, over several starts. The figures of earlier builds are printed
beside them; a second program (for instance a build of an older commit) is measured in the
same run when given.

Usage: bench/startup.py [PROGRAM [OTHER_PROGRAM]] [--runs N]   (default build/bin/tonvera, 7)

Every start runs privately: a virtual display, a sound server with a null sink, throwaway home
and settings folders. The settings name a folder of three MP3s, as after a first session. The
window counts as shown when the display maps it; the resident memory is read one second later.
"""

import argparse
import ctypes
import ctypes.util
import os
import select
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Start to visible window and resident memory measured on this machine before the preview
# player and the other subsystems existed, and once they all started with the window.
EARLIER = [
    ("window only (before the player)", "0.18-0.28 s", "62 MB"),
    ("every subsystem at start", "0.36-0.42 s", "78 MB"),
]
TARGET_SECONDS = 0.3

# Xlib, just enough to wait for a window to be mapped on the root window.
MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("pad", ctypes.c_long * 24)]


class XMapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong),
                ("window", ctypes.c_ulong), ("override_redirect", ctypes.c_int)]


def xlib():
    lib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    lib.XOpenDisplay.restype = ctypes.c_void_p
    lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    lib.XDefaultRootWindow.restype = ctypes.c_ulong
    lib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    lib.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
    lib.XPending.argtypes = [ctypes.c_void_p]
    lib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
    lib.XConnectionNumber.argtypes = [ctypes.c_void_p]
    lib.XFlush.argtypes = [ctypes.c_void_p]
    lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return lib


class Session:
    """The private display, sound server and folders of all starts."""

    def __init__(self):
        self.work = tempfile.mkdtemp(prefix="tonvera-startup.")
        self.xvfb = self.pulse_env = None
        self.env = dict(os.environ)
        home, config, run = (os.path.join(self.work, d) for d in ("home", "config", "run"))
        for d in (home, config, run):
            os.makedirs(d)
        os.chmod(run, 0o700)
        self.env.update(HOME=home, XDG_CONFIG_HOME=config, XDG_RUNTIME_DIR=run,
                        QT_QPA_PLATFORM="xcb")
        for key in ("DBUS_SESSION_BUS_ADDRESS", "SESSION_MANAGER", "QT_MEDIA_BACKEND"):
            self.env.pop(key, None)
        self.music = os.path.join(self.work, "music")
        os.makedirs(self.music)
        for n in range(1, 4):
            subprocess.run(["ffmpeg", "-loglevel", "error", "-f", "lavfi", "-i",
                            f"sine=frequency={220 * n}:duration=3", "-ac", "2",
                            os.path.join(self.music, f"track{n}.mp3")], check=True)
        self.settings = os.path.join(config, "Tonvera", "Tonvera.conf")
        os.makedirs(os.path.dirname(self.settings))

        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
             "-nolisten", "tcp"], pass_fds=(write_end,), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as display:
            self.env["DISPLAY"] = ":" + display.readline().strip()
        subprocess.run(["pulseaudio", "-n", "--daemonize=yes", "--exit-idle-time=-1",
                        "--load=module-native-protocol-unix",
                        "--load=module-null-sink sink_name=nullsink"],
                       env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       check=True)
        self.pulse_env = self.env
        self.env["PULSE_SERVER"] = f"unix:{run}/pulse/native"
        self.x = xlib()

    def close(self):
        if self.pulse_env:
            subprocess.run(["pulseaudio", "--kill"], env=self.pulse_env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait()
        shutil.rmtree(self.work, ignore_errors=True)

    def start_once(self, program):
        """Seconds from the start to the first mapped window, and the resident MB after."""
        with open(self.settings, "w") as f:
            f.write(f"[UserDef]\nLanguage=EN\nPath={self.music}\n")
        x = self.x
        display = x.XOpenDisplay(self.env["DISPLAY"].encode())
        if not display:
            raise RuntimeError("no display")
        x.XSelectInput(display, x.XDefaultRootWindow(display), SUBSTRUCTURE_NOTIFY_MASK)
        x.XFlush(display)
        event = XEvent()
        began = time.perf_counter()
        proc = subprocess.Popen([program], env=self.env, cwd=self.env["HOME"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shown = None
        try:
            while shown is None:
                while x.XPending(display):
                    x.XNextEvent(display, ctypes.byref(event))
                    if event.type == MAP_NOTIFY:
                        mapped = ctypes.cast(ctypes.byref(event), ctypes.POINTER(XMapEvent))
                        if not mapped.contents.override_redirect:
                            shown = time.perf_counter() - began
                            break
                if shown is None:
                    if proc.poll() is not None:
                        raise RuntimeError(f"{program} ended with {proc.returncode}")
                    if time.perf_counter() - began > 30:
                        raise RuntimeError(f"{program} showed no window in 30 s")
                    # Waits on the display's connection rather than spinning, which would take
                    # a core from the program being measured.
                    select.select([x.XConnectionNumber(display)], [], [], 0.05)
            time.sleep(1.0)
            with open(f"/proc/{proc.pid}/status") as status:
                rss_kb = next(int(line.split()[1]) for line in status
                              if line.startswith("VmRSS:"))
        finally:
            proc.terminate()
            try:
                proc.wait(10)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
            x.XCloseDisplay(display)
        return shown, rss_kb / 1024.0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("programs", nargs="*",
                        default=[os.path.join(ROOT, "build", "bin", "tonvera")])
    parser.add_argument("--runs", type=int, default=7)
    args = parser.parse_args()
    programs = [os.path.abspath(p) for p in args.programs[:2]]
    for program in programs:
        if not os.access(program, os.X_OK):
            sys.exit(f"no program at {program}")

    session = Session()
    try:
        results = {p: [] for p in programs}
        for program in programs:  # one start each, not counted: disk caches and font caches
            session.start_once(program)
        for _ in range(args.runs):  # interleaved, so that load on the machine hits both alike
            for program in programs:
                results[program].append(session.start_once(program))
    finally:
        session.close()

    load = os.getloadavg()
    print(f"start to visible window, {args.runs} starts each, {os.cpu_count()} cores, "
          f"load {load[0]:.2f} {load[1]:.2f} {load[2]:.2f}")
    print(f"{'':34} {'median':>8} {'range':>14} {'resident':>9}")
    for program in programs:
        times = [t for t, _ in results[program]]
        rss = statistics.median(m for _, m in results[program])
        name = os.path.relpath(program, ROOT) if program.startswith(ROOT) else program
        print(f"{name[-34:]:34} {statistics.median(times):7.3f}s "
              f"{min(times):6.3f}-{max(times):.3f} s {rss:6.0f} MB")
    for label, seconds, memory in EARLIER:
        print(f"{label:34} {'':8} {seconds:>14} {memory:>9}")
    median = statistics.median(t for t, _ in results[programs[0]])
    verdict = "within" if median < TARGET_SECONDS else "OVER"
    print(f"target: under {TARGET_SECONDS:.1f} s to a visible window: {verdict}")


if __name__ == "__main__":
    main()
