# Converting: a marked batch, one file with F7, and STOP in the middle of a long file. The
# outputs are checked on disk with ffprobe, as a player would read them.
import hashlib
import json
import os
import subprocess

from e2e import *

# A run encodes real audio on a shared machine: far more than a user would wait for a button.
RUN_TIMEOUT = 60.0

FF = ["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y"]

# Names with a blank and a quote: the run hands them to child processes.
MP3S = {  # name: (seconds, title, artist)
    "Tom's song.mp3": (3, "Tom's Tune", "The \"Quoted\" Band"),
    "two words.mp3": (2, "Second Take", "Solo Artist"),
}
WAV = "it's plain.wav"
WAV_SECONDS = 2


# Tom's song is tagged as a tagger leaves an album track: these fields and a front cover.
ALBUM_FIELDS = {"album": "Fixtures Album", "track": "5/12", "date": "2001", "genre": "Jazz",
                "album_artist": "The Band", "composer": "Zoë Ørsted"}
ASF_NAMES = {"album": "WM/AlbumTitle", "track": "WM/TrackNumber", "date": "WM/Year",
             "genre": "WM/Genre", "album_artist": "WM/AlbumArtist", "composer": "WM/Composer"}
ASF_READER = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                          "support", "asf_attributes.py")


def make_mp3(path, seconds, title, artist, cover=None):
    fields = []
    pictures = []
    if cover:
        subprocess.run(FF + ["-f", "lavfi", "-i", "testsrc=size=300x300:duration=1",
                             "-frames:v", "1", cover], check=True)
        pictures = ["-i", cover, "-map", "0", "-map", "1", "-c:v", "copy",
                    "-metadata:s:v", "comment=Cover (front)"]
        for key, value in ALBUM_FIELDS.items():
            fields += ["-metadata", f"{key}={value}"]
    subprocess.run(FF + ["-f", "lavfi", "-i", f"sine=frequency=440:duration={seconds}"]
                   + pictures + ["-ac", "2", "-c:a", "libmp3lame", "-b:a", "128k",
                                 "-id3v2_version", "3", "-metadata", f"title={title}",
                                 "-metadata", f"artist={artist}"] + fields + [path], check=True)


def expect_album_fields(path, cover):
    """Each field of the tagged MP3 is its own attribute of the WMA (read by mutagen, not by
    anything of ours), and the front cover is there byte for byte."""
    out = subprocess.run(["/usr/bin/python3", ASF_READER, path], capture_output=True,
                         text=True, check=True).stdout
    found = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    for key, name in ASF_NAMES.items():
        expect(found.get(name) == ALBUM_FIELDS[key], f"{os.path.basename(path)}: {name}",
               found.get(name))
    with open(cover, "rb") as f:
        digest = hashlib.sha1(f.read()).hexdigest()
    expect(found.get("WM/Picture") == f"3 image/jpeg {digest}",
           f"{os.path.basename(path)}: the front cover", found.get("WM/Picture"))


def make_wav(path, seconds):
    subprocess.run(FF + ["-f", "lavfi", "-i", f"sine=frequency=660:duration={seconds}",
                         "-ac", "2", "-c:a", "pcm_s16le", path], check=True)


def music_folder(s):
    folder = s.path("in put")
    os.makedirs(folder)
    for name, (seconds, title, artist) in MP3S.items():
        cover = s.path("front.jpg") if name == "Tom's song.mp3" else None
        make_mp3(os.path.join(folder, name), seconds, title, artist, cover)
    make_wav(os.path.join(folder, WAV), WAV_SECONDS)
    return folder


def wma_name(name):
    return os.path.splitext(name)[0] + ".wma"


def probe(path):
    out = subprocess.run(["ffprobe", "-v", "error", "-print_format", "json", "-show_format",
                          "-show_streams", path], capture_output=True, text=True)
    if out.returncode != 0:
        raise Failure(f"ffprobe cannot read {path}: {out.stderr.strip()}")
    return json.loads(out.stdout)


def expect_wma(path, seconds, title=None, artist=None):
    """The output is WMA v2 in ASF, about as long as its source, with the source's tags."""
    expect(os.path.isfile(path), f"an output {path}", os.listdir(os.path.dirname(path)))
    info = probe(path)
    fmt = info["format"]
    # A cover shows as a picture stream beside the audio.
    codecs = [st.get("codec_name") for st in info["streams"]
              if not st.get("disposition", {}).get("attached_pic")]
    expect(fmt["format_name"] == "asf" and codecs == ["wmav2"],
           f"{os.path.basename(path)}: wmav2 in ASF", f"{fmt['format_name']} with {codecs}")
    duration = float(fmt.get("duration", 0))
    expect(abs(duration - seconds) < 0.5, f"{os.path.basename(path)} about {seconds} s long",
           f"{duration} s")
    tags = {k.lower(): v for k, v in fmt.get("tags", {}).items()}
    for field, wanted in (("title", title), ("artist", artist)):
        if wanted is not None:
            expect(tags.get(field) == wanted, f"{os.path.basename(path)}: {field} {wanted!r}",
                   tags)


def temporaries(folder):
    """The run's temporary files: the decoded wave, the encoder's output and the part file
    that output is written through."""
    return [n for n in os.listdir(folder) if n.startswith(("~tmpw_0", ".~tmpw_0"))]


def no_temporaries(folder):
    left = temporaries(folder)
    expect(not left, f"no temporary files in {folder}", left)


def status_line(w):
    """The status line's text: the one label that reports a run's end."""
    texts = [t.strip() for t in label_texts(w)
             if "Conversion completed" in t or "STOPPED" in t]
    return texts[0] if texts else None


def wait_status(w, wanted, timeout=RUN_TIMEOUT):
    return wait_until(lambda: Seen(status_line(w) and wanted in status_line(w),
                                   status_line(w) or label_texts(w)),
                      f"the status line to say {wanted!r}", timeout)


def output_list(w):
    return find(w, "list", "Output files")


def scenario_marked_batch_with_convert(s):
    folder = music_folder(s)
    app = s.start(os.path.join(folder, "two words.mp3"))
    w = app.main_window()
    lst = input_list(w)
    choose(type_box(w), "MP3, WAV")
    sources = sorted([*MP3S, WAV])
    wait_entries(lst, sources)
    click(find(w, "check box", "All/None"))
    wait_marked_count(w, "(3/3)")
    click(find(w, "push button", "Convert"))
    wait_status(w, "Conversion completed - File: ")
    for name, (seconds, title, artist) in MP3S.items():
        expect_wma(os.path.join(folder, wma_name(name)), seconds, title, artist)
    expect_album_fields(os.path.join(folder, wma_name("Tom's song.mp3")), s.path("front.jpg"))
    expect_wma(os.path.join(folder, wma_name(WAV)), WAV_SECONDS)
    no_temporaries(folder)
    wait_entries(output_list(w), [wma_name(n) for n in sources])


def scenario_single_file_with_f7(s):
    folder = music_folder(s)
    app = s.start(os.path.join(folder, WAV))
    w = app.main_window()
    lst = input_list(w)
    choose(type_box(w), "MP3, WAV")
    click(entry(lst, "Tom's song.mp3"))
    wait_panel(w, "Tom's song.mp3", "Title: Tom's Tune")
    key("F7")
    wait_status(w, "Conversion completed - File: Tom's song.wma")
    seconds, title, artist = MP3S["Tom's song.mp3"]
    expect_wma(os.path.join(folder, "Tom's song.wma"), seconds, title, artist)
    made = sorted(n for n in os.listdir(folder) if n.endswith(".wma"))
    expect(made == ["Tom's song.wma"], "only the clicked file converted", made)
    no_temporaries(folder)
    wait_entries(output_list(w), ["Tom's song.wma"])


def scenario_stop_in_the_middle_of_a_long_file(s):
    folder = s.path("long")
    os.makedirs(folder)
    # Half an hour of CD audio takes about ten seconds to encode here: time enough to stop it.
    make_wav(os.path.join(folder, "long take.wav"), 1800)
    app = s.start(os.path.join(folder, "long take.wav"))
    w = app.main_window()
    lst = input_list(w)
    choose(type_box(w), "WAV")
    click(entry(lst, "long take.wav"))
    wait_panel(w, "long take.wav", "Time: 30'")
    click(find(w, "push button", "Convert"))
    stop = find(w, "push button", "STOP")
    # Stopped while the encoder writes (into a hidden part file), not before it started.
    wait_until(lambda: temporaries(folder), "the encoder to start writing")
    # No goes on with the run; Yes ends it.
    click(stop)
    press(find(app.message_box(" Tonvera"), "push button", "No"))
    wait_until(lambda: not any(role_of(x) in ("alert", "dialog") for x in app.windows()),
               "the question to go")
    expect(is_showing(stop) and temporaries(folder), "the run going on after No",
           f"STOP showing {is_showing(stop)}, files {os.listdir(folder)}")
    click(stop)
    press(find(app.message_box(" Tonvera"), "push button", "Yes"))
    wait_status(w, "STOPPED", timeout=TIMEOUT)
    expect("long take" in status_line(w), "the status line to name the file", status_line(w))
    expect(not os.path.exists(os.path.join(folder, "long take.wma")), "no output",
           os.listdir(folder))
    no_temporaries(folder)
    wait_until(lambda: not any(b.name == "STOP" for b in find_all(w, "push button")),
               "the STOP button to go")



def make_wma(path, seconds):
    subprocess.run(FF + ["-f", "lavfi", "-i", f"sine=frequency=550:duration={seconds}",
                         "-ac", "2", "-c:a", "wmav2", "-b:a", "128k", path], check=True)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def answer(app, question, button):
    box = app.message_box(" Tonvera")
    find(box, "label", match=lambda t: all(q in t for q in question))
    press(find(box, "push button", button))
    wait_until(lambda: not any(role_of(x) in ("alert", "dialog") for x in app.windows()),
               "the question to go")


def wait_end_unasked(app, w, wanted):
    """Waits for the run's end, failing at once if the program asks anything more."""

    def probe():
        asked = [label_texts(b) for b in app.windows() if role_of(b) in ("alert", "dialog")]
        if asked:
            return "asked", asked
        line = status_line(w)
        return ("ended", line) if line and wanted in line else Seen(None, line)

    how, seen = wait_until(probe, f"the status line to say {wanted!r}", RUN_TIMEOUT)
    expect(how == "ended", f"no further question before {wanted!r}", seen)


def scenario_trust_existing_outputs_and_shared_names(s):
    folder = s.path("music")
    os.makedirs(folder)
    make_wma(os.path.join(folder, "01 old.wma"), 2)
    make_mp3(os.path.join(folder, "02 a.mp3"), 1, "A", "Band")
    make_mp3(os.path.join(folder, "03 b.mp3"), 1, "B", "Band")
    make_mp3(os.path.join(folder, "05 d.mp3"), 3, "D", "Band")
    make_wav(os.path.join(folder, "05 d.wav"), 1)
    make_wav(os.path.join(folder, "06 e.wav"), 1)
    mine = b"the user's own 03 b.wma, not audio\n" * 8
    with open(os.path.join(folder, "03 b.wma"), "wb") as f:
        f.write(mine)
    old = read(os.path.join(folder, "01 old.wma"))
    sources = sorted(os.listdir(folder))
    app = s.start(os.path.join(folder, "02 a.mp3"))
    w = app.main_window()
    choose(type_box(w), "Supported")
    wait_entries(input_list(w), sources)
    click(find(w, "check box", "All/None"))
    wait_marked_count(w, "(5/7)")  # the WMA files are not counted
    click(find(w, "push button", "Convert"))
    # "03 b.wma" is the first planned output that exists; No keeps it and every later one.
    answer(app, ["SOME FILES ARE ALREADY EXISTING"], "No")
    # "05 d.wav" would write what "05 d.mp3" wrote: skipped without a second question.
    wait_end_unasked(app, w, "Conversion completed - File: 06 e.wma")
    expect_wma(os.path.join(folder, "02 a.wma"), 1, "A", "Band")
    expect_wma(os.path.join(folder, "05 d.wma"), 3, "D", "Band")
    expect_wma(os.path.join(folder, "06 e.wma"), 1)
    expect(read(os.path.join(folder, "03 b.wma")) == mine, "03 b.wma kept byte for byte",
           "it changed")
    expect(read(os.path.join(folder, "01 old.wma")) == old, "01 old.wma left alone",
           "it changed")
    made = sorted(set(os.listdir(folder)) - set(sources))
    expect(made == ["02 a.wma", "05 d.wma", "06 e.wma"], "only the three new outputs", made)


def scenario_trust_one_wma_encoded_again(s):
    folder = s.path("music")
    os.makedirs(folder)
    clip = os.path.join(folder, "clip.wma")
    make_wma(clip, 2)
    old = read(clip)
    app = s.start(clip)
    w = app.main_window()
    lst = input_list(w)
    choose(type_box(w), "WM Audio")
    wait_entries(lst, ["clip.wma"])
    # The file clicked alone is encoded again; only WMA files marked among others are passed over.
    click(entry(lst, "clip.wma"))
    wait_panel(w, "clip.wma")
    wait_marked_count(w, "(1/1)")
    key("F7")
    answer(app, [f"file: {clip}", "ALREADY EXISTS"], "Yes")
    wait_end_unasked(app, w, "Conversion completed - File: clip.wma")
    expect_wma(clip, 2)
    # The old file stays set aside, whole, beside the new one.
    expect(read(clip + ".tmp.wma") == old, "clip.wma.tmp.wma holding the old bytes",
           sorted(os.listdir(folder)))
    no_temporaries(folder)
    expect(sorted(os.listdir(folder)) == ["clip.wma", "clip.wma.tmp.wma"], "nothing else",
           sorted(os.listdir(folder)))
