#!/usr/bin/python3
"""Prints what mutagen, a reader independent of ours, finds in an MP3's ID3v2 tag (ID3v1 where
there is no v2 frame for a field), as the fields a music player shows: one "name=value" line
each for title, artist, album, track, year, genre, albumartist, composer and cover (the front
cover's, else the first picture's, type, MIME type and SHA-1). Absent fields are not printed."""

import hashlib
import sys

import mutagen.id3
import mutagen.mp3

path = sys.argv[1]
fields = {}
try:
    tags = mutagen.id3.ID3(path, v2_version=4)
except mutagen.id3.ID3NoHeaderError:
    tags = None
if tags is not None:
    for name, frame in (("title", "TIT2"), ("artist", "TPE1"), ("album", "TALB"),
                        ("track", "TRCK"), ("genre", "TCON"), ("albumartist", "TPE2"),
                        ("composer", "TCOM")):
        if frame in tags:
            value = tags[frame]
            text = " / ".join(value.genres) if frame == "TCON" else " / ".join(map(str, value.text))
            if text:
                fields[name] = text
    if "TDRC" in tags and str(tags["TDRC"].text[0]):
        fields["year"] = str(tags["TDRC"].text[0])[:4]
    pictures = tags.getall("APIC")
    front = [p for p in pictures if p.type == 3] or pictures
    if front:
        p = front[0]
        fields["cover"] = "%d %s %s" % (p.type, p.mime, hashlib.sha1(p.data).hexdigest())
for name, value in sorted(fields.items()):
    print(name + "=" + value.replace("\r", "<CR>").replace("\n", "<LF>"))
