#!/usr/bin/env python3
"""Installs a build into a throwaway prefix and checks what lands there, as a package or a user
installing by hand gets it: check_install.py layout|desktop|metainfo BUILD_DIR

layout    the programs in bin/ running from there, the data the build tree keeps beside the
          program in share/tonvera/, the desktop entry, icons and metainfo where desktops look
desktop   desktop-file-validate accepts the installed desktop entry
metainfo  appstreamcli accepts the installed metainfo (without the network)

Exits 77 (skipped) when the validator a check needs is not installed.
"""

import configparser
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

APP_ID = "org.tonvera.Tonvera"
SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PROGRAMS = ["taglet", "tnvr3w", "tonvera", "wm8eutil"]
ICON_SIZES = [16, 24, 32, 48, 64, 128, 256]
SKIP = 77

failures = []


def check(condition, what, seen=""):
    if not condition:
        failures.append(f"{what}" + (f"\n    saw {seen}" if seen != "" else ""))


def install(build, prefix):
    out = subprocess.run(["cmake", "--install", build, "--prefix", prefix],
                         capture_output=True, text=True)
    if out.returncode != 0:
        sys.exit(f"cmake --install failed:\n{out.stdout}{out.stderr}")


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return int.from_bytes(head[16:20], "big"), int.from_bytes(head[20:24], "big")


def files_under(folder):
    found = set()
    for root, _, names in os.walk(folder):
        for name in names:
            found.add(os.path.relpath(os.path.join(root, name), folder))
    return found


def same_bytes(a, b):
    with open(a, "rb") as fa, open(b, "rb") as fb:
        return fa.read() == fb.read()


def desktop_entry(path):
    parser = configparser.ConfigParser(interpolation=None, strict=True)
    parser.optionxform = str
    parser.read(path, encoding="utf-8")
    return parser["Desktop Entry"]


def run(program, *args):
    # No display and no sound server: what the program prints here, it prints anywhere.
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "PULSE_SERVER")}
    env["QT_QPA_PLATFORM"] = "xcb"
    return subprocess.run([program, *args], capture_output=True, text=True, env=env, timeout=60)


def check_layout(build, prefix):
    bin_dir = os.path.join(prefix, "bin")
    data = os.path.join(prefix, "share", "tonvera")
    share = os.path.join(prefix, "share")

    installed = sorted(os.listdir(bin_dir)) if os.path.isdir(bin_dir) else []
    check(installed == PROGRAMS, f"exactly the programs {PROGRAMS} in bin/", installed)
    for name in PROGRAMS:
        path = os.path.join(bin_dir, name)
        check(os.access(path, os.X_OK), f"bin/{name} executable")

    # Each program loads its libraries from the prefix, never from the build tree.
    for name in PROGRAMS:
        path = os.path.join(bin_dir, name)
        if not os.path.isfile(path):
            continue
        ldd = subprocess.run(["ldd", path], capture_output=True, text=True).stdout
        check("not found" not in ldd, f"every library of bin/{name} found", ldd)
        for line in ldd.splitlines():
            if "libtaglet" in line:
                target = line.split("=>")[1].split("(")[0].strip()
                check(os.path.realpath(target).startswith(os.path.realpath(prefix) + os.sep),
                      f"bin/{name} loading the installed tag library", line.strip())

    # Whatever the build tree keeps beside the program is installed, byte for byte.
    build_bin = os.path.join(build, "bin")
    # Data only: not the programs (nor benchmarks built there), not a run's working files.
    beside = {f for f in files_under(build_bin)
              if not os.access(os.path.join(build_bin, f), os.X_OK)
              and not f.startswith(("tmpbat", "tmpconf"))}
    for name in ("PRMSG", "TONVE_EN.html", "TONVE_IT.html"):
        check(name in beside, f"{name} beside the program in the build tree", sorted(beside))
    for rel in sorted(beside):
        target = os.path.join(data, rel)
        check(os.path.isfile(target) and same_bytes(os.path.join(build_bin, rel), target),
              f"share/tonvera/{rel} as in the build tree")
    for size in ICON_SIZES:
        check(f"icons/tonvera-{size}.png" in beside, f"icons/tonvera-{size}.png beside the program")

    # The entry starts this very program, wherever the prefix is.
    entry_path = os.path.join(share, "applications", APP_ID + ".desktop")
    check(os.path.isfile(entry_path), f"share/applications/{APP_ID}.desktop")
    if os.path.isfile(entry_path):
        entry = desktop_entry(entry_path)
        program = os.path.join(bin_dir, "tonvera")
        check(entry.get("Exec") == f"{program} %f", f"Exec={program} %f", entry.get("Exec"))
        check(entry.get("TryExec") == program, f"TryExec={program}", entry.get("TryExec"))
        check(entry.get("Icon") == APP_ID, f"Icon={APP_ID}", entry.get("Icon"))

    licence = os.path.join(share, "doc", "tonvera", "copyright")
    check(os.path.isfile(licence) and same_bytes(licence, os.path.join(SOURCE, "LICENSE")),
          "the licence text as share/doc/tonvera/copyright")

    hicolor = os.path.join(share, "icons", "hicolor")
    for size in ICON_SIZES:
        icon = os.path.join(hicolor, f"{size}x{size}", "apps", APP_ID + ".png")
        seen = png_size(icon) if os.path.isfile(icon) else "no file"
        check(seen == (size, size), f"a {size}x{size} PNG at {os.path.relpath(icon, prefix)}",
              seen)
    svg = os.path.join(hicolor, "scalable", "apps", APP_ID + ".svg")
    check(os.path.isfile(svg), f"the scalable icon {os.path.relpath(svg, prefix)}")

    # The metainfo names the installed entry, and its newest release is the program's version.
    meta = os.path.join(share, "metainfo", APP_ID + ".metainfo.xml")
    check(os.path.isfile(meta), f"share/metainfo/{APP_ID}.metainfo.xml")
    program = os.path.join(bin_dir, "tonvera")
    if os.path.isfile(meta) and os.path.isfile(program):
        root = ET.parse(meta).getroot()
        launchable = root.findtext("launchable")
        check(launchable == APP_ID + ".desktop" and os.path.isfile(entry_path),
              "the metainfo launching the installed entry", launchable)
        check(root.findtext("project_license") == "GPL-3.0-or-later",
              "the metainfo naming the program's licence", root.findtext("project_license"))
        releases = [r.get("version") for r in root.iter("release")]
        out = run(program, "--version")
        check(out.returncode == 0, "the installed tonvera --version without a display",
              out.stderr)
        version = out.stdout.strip().removeprefix("Tonvera ")
        check(releases[:1] == [version], f"the newest release in the metainfo to be {version}",
              releases)


def validate(tool, args, path):
    if shutil.which(tool) is None:
        print(f"{tool} is not installed: skipped")
        sys.exit(SKIP)
    out = subprocess.run([tool, *args, path], capture_output=True, text=True)
    check(out.returncode == 0, f"{tool} to accept {os.path.basename(path)}",
          (out.stdout + out.stderr).strip())


def main():
    what, build = sys.argv[1], os.path.abspath(sys.argv[2])
    with tempfile.TemporaryDirectory(prefix="tonvera-install.") as prefix:
        install(build, prefix)
        share = os.path.join(prefix, "share")
        if what == "layout":
            check_layout(build, prefix)
        elif what == "desktop":
            validate("desktop-file-validate", [],
                     os.path.join(share, "applications", APP_ID + ".desktop"))
        elif what == "metainfo":
            validate("appstreamcli", ["validate", "--no-net"],
                     os.path.join(share, "metainfo", APP_ID + ".metainfo.xml"))
        else:
            sys.exit(f"unknown check {what}")
    for f in failures:
        print(f"FAIL: expected {f}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
