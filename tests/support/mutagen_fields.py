#!/usr/bin/python3
"""Prints what mutagen, a reader independent of ours, finds in a file, one "name=value" line
each, line breaks as <CR> and <LF>, pictures as "type MIME SHA-1 of the picture's bytes".
  asf PATH  every attribute of an ASF file, several values joined by "|"
  id3 PATH  the fields a player shows from an MP3's ID3v2 tag: title, artist, album, track,
            year, genre, albumartist, composer and cover (the front cover, else the first)"""

import hashlib
import struct
import sys

import mutagen.asf
import mutagen.id3

fields = {}
if sys.argv[1] == "asf":
    f = mutagen.asf.ASF(sys.argv[2])
    for key in f.keys():
        values = []
        for v in f[key]:
            if key == "WM/Picture":
                raw = bytes(v.value)
                kind, size = struct.unpack_from("<bI", raw)
                mime = raw[5:].split(b"\0\0")[0].replace(b"\0", b"").decode()
                v = "%d %s %s" % (kind, mime, hashlib.sha1(raw[len(raw) - size:]).hexdigest())
            values.append(str(v))
        fields[key] = "|".join(values)
else:
    try:
        tags = mutagen.id3.ID3(sys.argv[2], v2_version=4)
    except mutagen.id3.ID3NoHeaderError:
        tags = {}
    for name, frame in (("title", "TIT2"), ("artist", "TPE1"), ("album", "TALB"),
                        ("track", "TRCK"), ("genre", "TCON"), ("albumartist", "TPE2"),
                        ("composer", "TCOM")):
        if frame in tags:
            value = tags[frame]
            fields[name] = " / ".join(value.genres if frame == "TCON" else map(str, value.text))
    if "TDRC" in tags:
        fields["year"] = str(tags["TDRC"].text[0])[:4]
    fields = {name: value for name, value in fields.items() if value}
    pictures = tags.getall("APIC") if tags else []
    front = [p for p in pictures if p.type == 3] or pictures
    if front:
        fields["cover"] = "%d %s %s" % (front[0].type, front[0].mime,
                                        hashlib.sha1(front[0].data).hexdigest())
for name, value in sorted(fields.items()):
    print(name + "=" + value.replace("\r", "<CR>").replace("\n", "<LF>"))
