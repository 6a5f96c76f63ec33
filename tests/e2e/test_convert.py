# Converting: a marked batch with Convert, its outputs read on disk with ffprobe and mutagen as
# a player would; then STOP in the middle of a long file, with its progress on show.
import hashlib
import os
import re

from e2e import *

# Tom's song is tagged as a tagger leaves an album track: these fields and a front cover. Its
# name and its tags hold a quote: the run hands them to child processes.
ALBUM = {"album": "Fixtures Album", "track": "5/12", "date": "2001", "genre": "Jazz",
         "album_artist": "The Band", "composer": "Zoë Ørsted"}
ASF_NAMES = {"album": "WM/AlbumTitle", "track": "WM/TrackNumber", "date": "WM/Year",
             "genre": "WM/Genre", "album_artist": "WM/AlbumArtist", "composer": "WM/Composer"}
ASF_READER = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                          "support", "asf_attributes.py")


def asf_attributes(path):
    """What mutagen, a reader independent of ours, finds in an ASF file."""
    out = subprocess.run(["/usr/bin/python3", ASF_READER, path], capture_output=True, text=True,
                         check=True).stdout
    return dict(line.split("=", 1) for line in out.splitlines() if "=" in line)


def scenario_convert_a_marked_batch_and_stop_a_long_file(s):
    folder = s.path("in put")
    os.makedirs(folder)
    cover = s.path("front.jpg")
    subprocess.run(FF + ["-f", "lavfi", "-i", "testsrc=size=300x300:duration=1", "-frames:v",
                         "1", cover], check=True)
    make_audio(os.path.join(folder, "Tom's song.mp3"), 3, "libmp3lame", cover=cover,
               tags={"title": "Tom's Tune", "artist": 'The "Quoted" Band', **ALBUM})
    make_audio(os.path.join(folder, "two words.mp3"), 2, "libmp3lame",
               tags={"title": "Second Take", "artist": "Solo Artist"})
    # Half an hour of CD audio takes about ten seconds to encode here: time enough to stop it.
    make_audio(os.path.join(folder, "long take.wav"), 1800, "pcm_s16le")
    app = s.start(os.path.join(folder, "two words.mp3"))
    w = app.main_window()
    lst = input_list(w)
    click(find(w, "check box", "All/None"))
    wait_marked_count(w, "(2/2)")
    click(button(w, "Convert"))
    wait_status(w, "Conversion completed - File: ")
    expect_wma(os.path.join(folder, "Tom's song.wma"), 3, title="Tom's Tune",
               artist='The "Quoted" Band')
    expect_wma(os.path.join(folder, "two words.wma"), 2, title="Second Take",
               artist="Solo Artist")
    # Each field of the album track is its own attribute, and the cover is there byte for byte.
    found = asf_attributes(os.path.join(folder, "Tom's song.wma"))
    for field, name in ASF_NAMES.items():
        expect(found.get(name) == ALBUM[field], f"{name} {ALBUM[field]!r}", found.get(name))
    digest = hashlib.sha1(read(cover)).hexdigest()
    expect(found.get("WM/Picture") == f"3 image/jpeg {digest}", "the front cover",
           found.get("WM/Picture"))
    expect(not temporaries(folder), "no temporary files", os.listdir(folder))
    wait_entries(output_list(w), ["Tom's song.wma", "two words.wma"])

    choose(type_box(w), "WAV")
    click(entry(lst, "long take.wav"))
    wait_panel(w, "long take.wav", "Time: 30'")
    click(button(w, "Convert"))
    stop = button(w, "STOP")
    # Stopped while the encoder writes (into a hidden part file), not before it started.
    wait_until(lambda: temporaries(folder), "the encoder to start writing")
    wait_until(lambda: Seen(any(re.fullmatch(r"\d+%", t.strip()) for t in label_texts(w)),
                            label_texts(w)), "the progress in percent")
    # No goes on with the run; Yes ends it.
    click(stop)
    app.answer("No")
    expect(is_showing(stop) and temporaries(folder), "the run going on after No",
           f"STOP showing {is_showing(stop)}, files {os.listdir(folder)}")
    click(stop)
    app.answer("Yes")
    wait_status(w, "STOPPED", timeout=TIMEOUT)
    expect("long take" in status_line(w), "the status line to name the file", status_line(w))
    expect(not os.path.exists(os.path.join(folder, "long take.wma")), "no output",
           os.listdir(folder))
    expect(not temporaries(folder), "no temporary files", os.listdir(folder))
    wait_until(lambda: not any(b.name == "STOP" for b in find_all(w, "push button")),
               "the STOP button to go")
