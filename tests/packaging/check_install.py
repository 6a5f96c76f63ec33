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

failures = []


def check(condition, what, seen=""):
    if not condition:
        failures.append(f"{what}" + (f"\n    saw {seen}" if seen != "" else ""))


def install(build, prefix):
    out = subprocess.run(["cmake", "--install", build, "--prefix", prefix],
                         capture_output=True, text=True)
    if out.returncode != 0:
        raise RuntimeError(f"cmake --install {build} failed:\n{out.stdout}{out.stderr}")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def desktop_entry(path):
    parser = configparser.ConfigParser(interpolation=None, strict=True)
    parser.optionxform = str
    parser.read(path, encoding="utf-8")
    return parser["Desktop Entry"]


def check_layout(build, prefix):
    bin_dir = os.path.join(prefix, "bin")
    share = os.path.join(prefix, "share")
    program = os.path.join(bin_dir, "tonvera")
    installed = sorted(os.listdir(bin_dir)) if os.path.isdir(bin_dir) else []
    check(installed == PROGRAMS, f"exactly the programs {PROGRAMS} in bin/", installed)
    # Each program runs and loads its libraries from the prefix, never from the build tree.
    for name in installed:
        path = os.path.join(bin_dir, name)
        check(os.access(path, os.X_OK), f"bin/{name} executable")
        ldd = subprocess.run(["ldd", path], capture_output=True, text=True).stdout
        check("not found" not in ldd, f"every library of bin/{name} found", ldd)
        for line in ldd.splitlines():
            if "libtaglet" in line:
                target = os.path.realpath(line.split("=>")[1].split("(")[0].strip())
                check(target.startswith(os.path.realpath(prefix) + os.sep),
                      f"bin/{name} loading the installed tag library", line.strip())

    # Whatever the build tree keeps beside the program is installed, byte for byte: data only,
    # not the programs (nor benchmarks built there), not a run's working files.
    build_bin = os.path.join(build, "bin")
    beside = {os.path.relpath(os.path.join(root, name), build_bin)
              for root, _, names in os.walk(build_bin) for name in names}
    beside = {f for f in beside if not os.access(os.path.join(build_bin, f), os.X_OK)
              and not f.startswith(("tmpbat", "tmpconf"))}
    wanted = ["PRMSG", "TONVE_EN.html", "TONVE_IT.html"]
    for name in wanted + [f"icons/tonvera-{size}.png" for size in ICON_SIZES]:
        check(name in beside, f"{name} beside the program in the build tree", sorted(beside))
    for rel in sorted(beside):
        target = os.path.join(share, "tonvera", rel)
        check(os.path.isfile(target) and read(target) == read(os.path.join(build_bin, rel)),
              f"share/tonvera/{rel} as in the build tree")

    # The entry starts this very program, wherever the prefix is.
    entry_path = os.path.join(share, "applications", APP_ID + ".desktop")
    check(os.path.isfile(entry_path), f"share/applications/{APP_ID}.desktop")
    if os.path.isfile(entry_path):
        entry = desktop_entry(entry_path)
        for key, value in (("Exec", f"{program} %f"), ("TryExec", program), ("Icon", APP_ID)):
            check(entry.get(key) == value, f"{key}={value}", entry.get(key))

    licence = os.path.join(share, "doc", "tonvera", "copyright")
    check(os.path.isfile(licence) and read(licence) == read(os.path.join(SOURCE, "LICENSE")),
          "the licence text as share/doc/tonvera/copyright")

    hicolor = os.path.join(share, "icons", "hicolor")
    for size in ICON_SIZES:
        icon = os.path.join(hicolor, f"{size}x{size}", "apps", APP_ID + ".png")
        head = read(icon)[:24] if os.path.isfile(icon) else b""
        seen = (int.from_bytes(head[16:20], "big"), int.from_bytes(head[20:24], "big"))
        check(head[:8] == b"\x89PNG\r\n\x1a\n" and seen == (size, size),
              f"a {size}x{size} PNG at {os.path.relpath(icon, prefix)}", head[:8] and seen)
    svg = os.path.join(hicolor, "scalable", "apps", APP_ID + ".svg")
    check(os.path.isfile(svg), f"the scalable icon {os.path.relpath(svg, prefix)}")

    # The metainfo names the installed entry, and its newest release is the program's version.
    meta = os.path.join(share, "metainfo", APP_ID + ".metainfo.xml")
    check(os.path.isfile(meta), f"share/metainfo/{APP_ID}.metainfo.xml")
    if os.path.isfile(meta) and os.path.isfile(program):
        root = ET.parse(meta).getroot()
        check(root.findtext("launchable") == APP_ID + ".desktop" and os.path.isfile(entry_path),
              "the metainfo launching the installed entry", root.findtext("launchable"))
        check(root.findtext("project_license") == "GPL-3.0-or-later",
              "the metainfo naming the program's licence", root.findtext("project_license"))
        # No display and no sound server: what the program prints here, it prints anywhere.
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "PULSE_SERVER")}
        env["QT_QPA_PLATFORM"] = "xcb"
        out = subprocess.run([program, "--version"], capture_output=True, text=True, env=env,
                             timeout=60)
        check(out.returncode == 0, "the installed tonvera --version without a display",
              out.stderr)
        version = out.stdout.strip().removeprefix("Tonvera ")
        releases = [r.get("version") for r in root.iter("release")]
        check(releases[:1] == [version], f"the newest release in the metainfo to be {version}",
              releases)


def validate(tool, args, path):
    if shutil.which(tool) is None:
        print(f"{tool} is not installed: skipped")
        sys.exit(77)
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
