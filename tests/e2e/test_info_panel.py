# The information panel: what a click on an MP3, a WAV or a WMA in the input list shows.
import os

from e2e import *

# Name, then texts the panel shows for it.
FILES = [
    ("tagged.mp3", ["Time: 0' 02\"", "Title: Evening Tone", "Artist: Test Band",
                    "Album: Fixtures"]),
    ("second.mp3", ["Time: 0' 01\"", "Title: Old Style", "Artist: Vinyl Band"]),  # ID3v1 only
    ("plain.wav", ["Time: 0' 01\"", "Stereo", "Sampling rate (Hz): 44100",
                   "Bits per sample: 16"]),
    ("clip.wma", ["Time: 0' 02\"", "Title: Morning Tone"]),
]


def open_music(s, type_entry):
    music = os.path.join(s.fixtures, "music")
    app = s.start(os.path.join(music, "third.mp3"))
    w = app.main_window()
    choose(type_box(w), type_entry)
    return app, w, input_list(w)


def scenario_mp3_wav_and_wma_information(s):
    app, w, lst = open_music(s, "Supported")
    for name, texts in FILES:
        click(entry(lst, name))
        wait_panel(w, name, *texts)
        shown = label_texts(w)
        expect(not any("INVALID FILE FORMAT" in t for t in shown),
               f"no format complaint about {name}", shown)


def scenario_invalid_wav_then_a_valid_one(s):
    app, w, lst = open_music(s, "WAV")
    click(entry(lst, "broken.wav"))
    find(w, "label", match=lambda t: t.strip() == "INVALID FILE FORMAT !!!")
    click(entry(lst, "plain.wav"))
    wait_panel(w, "plain.wav", "Sampling rate (Hz): 44100")
    shown = label_texts(w)
    expect(not any("INVALID FILE FORMAT" in t for t in shown),
           "the complaint gone with the valid WAV", shown)


def scenario_long_file_name_keeps_the_window_size(s):
    folder = os.path.join(s.fixtures, "long")
    app = s.start(os.path.join(folder, "short.mp3"))
    w = app.main_window()
    lst = input_list(w)
    long_name = next(n for n in os.listdir(folder) if n != "short.mp3")
    wait_panel(w, "short.mp3")
    before = w.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    click(entry(lst, long_name[:30], prefix=True))
    find(w, "label", match=lambda t: long_name[:30] in t)
    after = w.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    expect((after.width, after.height) == (before.width, before.height),
           f"the window still {before.width}x{before.height}", f"{after.width}x{after.height}")


def scenario_id3v2_texts_end_without_a_stray_character(s):
    app = s.start(os.path.join(s.fixtures, "v2", "frames.mp3"))
    w = app.main_window()
    # The accessibility bus cuts a text at a zero character: a zero shown after the title
    # would cut the rest of the panel text away, and show as a box on screen.
    wait_panel(w, "frames.mp3", "Title: Night Tone")
    shown = "\n".join(label_texts(w))
    expect("Title: Night Tone\nArtist: Frame Band\n" in shown and "Genre: Jazz" in shown,
           "title, artist and genre shown whole", label_texts(w))
