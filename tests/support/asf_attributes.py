#!/usr/bin/python3
"""Prints what mutagen, a reader independent of ours, finds in an ASF file: one line per
attribute, "name=value", several values joined by "|", line breaks as <CR> and <LF>; for
WM/Picture its picture type, MIME type and the SHA-1 of the picture's bytes."""

import hashlib
import struct
import sys

import mutagen.asf

f = mutagen.asf.ASF(sys.argv[1])
for key in sorted(f.keys()):
    if key == "WM/Picture":
        values = []
        for v in f[key]:
            raw = bytes(v.value)
            kind, size = struct.unpack_from("<bI", raw)
            mime = raw[5:].split(b"\0\0")[0].replace(b"\0", b"").decode()
            values.append("%d %s %s" % (kind, mime, hashlib.sha1(raw[len(raw) - size:]).hexdigest()))
        text = "|".join(values)
    else:
        text = "|".join(str(v) for v in f[key])
    print(key + "=" + text.replace("\r", "<CR>").replace("\n", "<LF>"))
