# The preview player: play, pause, resume and stop an MP3, a WAV and a WMA; a section set from
# the play position and played; the volume window. What the user hears is checked at the sound
# server: a stream appears, is corked on pause and is gone after Stop.
import os
import re
import subprocess
import time

from e2e import *

FF = ["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y"]
SOURCES = {  # name: ffmpeg output options
    "tone.mp3": ["-c:a", "libmp3lame", "-b:a", "64k"],
    "tone.wav": ["-c:a", "pcm_s16le"],
    "tone.wma": ["-c:a", "wmav2", "-b:a", "64k"],
}
SECONDS = 10


def music_folder(s):
    folder = s.path("music")
    os.makedirs(folder)
    for name, options in SOURCES.items():
        subprocess.run(FF + ["-f", "lavfi", "-i", f"sine=frequency=440:duration={SECONDS}",
                             "-ac", "1", "-ar", "22050", *options, os.path.join(folder, name)],
                       check=True)
    return folder


def streams():
    """The sound server's playback streams: corked or not, and their volume in percent."""
    out = subprocess.run(["pactl", "list", "sink-inputs"], capture_output=True, text=True,
                         check=True).stdout
    found = []
    for block in out.split("Sink Input #")[1:]:
        corked = re.search(r"Corked: (\w+)", block)
        volume = re.search(r"\n\s*Volume:[^\n]*?(\d+)%", block)
        found.append({"corked": corked and corked.group(1) == "yes",
                      "volume": int(volume.group(1)) if volume else None})
    return found


def loudness(seconds=0.8):
    """The loudest sample the null sink plays within a short while, 0 to 32767."""
    rec = subprocess.Popen(["parec", "--device=nullsink.monitor", "--format=s16le",
                            "--channels=1", "--rate=22050", "--raw"], stdout=subprocess.PIPE)
    time.sleep(seconds)
    rec.terminate()
    data = rec.communicate()[0]
    samples = memoryview(data[: len(data) // 2 * 2]).cast("h")
    return max((abs(v) for v in samples), default=0)


def wait_stream(corked, what):
    def probe():
        now = streams()
        return Seen(len(now) == 1 and now[0]["corked"] == corked, now)

    wait_until(probe, what)


def wait_no_stream(what, timeout=TIMEOUT):
    def probe():
        now = streams()
        return Seen(all(st["corked"] for st in now), now)

    wait_until(probe, what, timeout)


def seconds_of(text):
    """The seconds a "m.ss.mmm" time text stands for."""
    m = re.fullmatch(r"(\d+)\.(\d\d)\.(\d\d\d)", text.strip())
    if not m:
        raise Failure(f"a time text, not {text!r}")
    return int(m.group(1)) * 60 + int(m.group(2)) + int(m.group(3)) / 1000


def open_player(s, first):
    folder = music_folder(s)
    app = s.start(os.path.join(folder, first))
    w = app.main_window()
    choose(type_box(w), "Supported")
    return app, w


def button(w, name):
    return find(w, "push button", name)


def position(w):
    return find(w, "text", "Play position")


def scenario_play_pause_resume_and_stop(s):
    app, w = open_player(s, "tone.mp3")
    lst = input_list(w)
    for name in SOURCES:
        click(entry(lst, name))
        wait_panel(w, name)
        wait_no_stream(f"no stream before {name} plays")

        press(button(w, "Play"))
        wait_stream(False, f"a stream playing {name}")
        wait_until(lambda: Seen(seconds_of(text_of(position(w))) > 0.3, text_of(position(w))),
                   f"the position of {name} moving")

        press(button(w, "Pause"))
        wait_stream(True, f"the stream of {name} corked on pause")
        paused = text_of(position(w))
        time.sleep(0.6)
        expect(text_of(position(w)) == paused, f"the position held at {paused}",
               text_of(position(w)))

        press(button(w, "Play"))
        wait_stream(False, f"{name} playing again")
        wait_until(lambda: Seen(seconds_of(text_of(position(w))) > seconds_of(paused),
                                text_of(position(w))),
                   f"{name} going on from {paused}")

        press(button(w, "Stop"))
        wait_no_stream(f"the stream of {name} gone after Stop")
        wait_text(position(w), "0.00.000")
        expect(is_enabled(button(w, "Play")), "Play offered again after Stop", "disabled")


def scenario_section_from_the_play_position(s):
    app, w = open_player(s, "tone.wav")
    click(entry(input_list(w), "tone.wav"))
    wait_panel(w, "tone.wav")

    press(button(w, "Play"))
    wait_stream(False, "the file playing")
    wait_until(lambda: Seen(seconds_of(text_of(position(w))) >= 2.0, text_of(position(w))),
               "two seconds played")
    # A press through the accessibility bus clicks a moment later, as a button shows it.
    press(button(w, "Start"))
    start_text = find(w, "text", "Start")
    start = wait_until(lambda: Seen(seconds_of(text_of(start_text)) or None, text_of(start_text)),
                       "a start taken from the play position")
    expect(1.5 < start < 5, "a start near the play position", start)
    wait_until(lambda: Seen(seconds_of(text_of(position(w))) >= start + 2.0,
                            text_of(position(w))),
               "two more seconds played")
    press(button(w, "Finish"))
    finish_text = find(w, "text", "Finish")
    finish = wait_until(lambda: Seen(seconds_of(text_of(finish_text)) or None,
                                     text_of(finish_text)),
                        "a finish taken from the play position")
    expect(start + 1.5 < finish < start + 5, "a finish after the start", (start, finish))
    press(button(w, "Stop"))
    wait_no_stream("the stream gone after Stop")

    # The section plays from its start and stops by itself just after its finish.
    play_cut = button(w, "Play only the cutted portion")
    expect(is_enabled(play_cut), "Play Cut offered with a section", "disabled")
    press(play_cut)
    wait_stream(False, "the section playing")
    seen = []

    def ended():
        shown = seconds_of(text_of(position(w)))
        if shown > 0:
            seen.append(shown)
        now = streams()
        return Seen(all(st["corked"] for st in now), now)

    wait_until(ended, "the section to end by itself", timeout=finish - start + 15)
    expect(seen and min(seen) >= start - 0.05, f"the section played from {start}", seen[:3])
    expect(seen and max(seen) <= finish + 0.75, f"nothing played after {finish}", seen[-3:])


def scenario_volume_window_twice(s):
    app, w = open_player(s, "tone.wav")
    click(entry(input_list(w), "tone.wav"))
    wait_panel(w, "tone.wav")
    press(button(w, "Play"))
    wait_stream(False, "the file playing")

    loud = wait_until(lambda: Seen(loudness(), 0), "the tone heard at the sink")

    press(button(w, "Play Control"))
    volume_window = wait_until(
        lambda: next((x for x in app.windows() if x.name == "Volume"), None), "a volume window")
    slider = find(volume_window, "slider", "Volume")
    slider.queryValue().currentValue = 30
    wait_until(lambda: Seen(0 < loudness() < loud / 2, loudness()), "the tone turned down")

    # The main window in front again, then Volume a second time: the same window comes back.
    click(position(w))
    wait_until(lambda: Seen(not volume_window.getState().contains(pyatspi.STATE_ACTIVE),
                            "active"), "the main window in front")
    press(button(w, "Play Control"))
    wait_until(lambda: Seen(volume_window.getState().contains(pyatspi.STATE_ACTIVE),
                            "not active"), "the volume window in front")
    named = [x for x in app.windows() if x.name == "Volume"]
    expect(len(named) == 1, "one volume window", len(named))
    press(button(w, "Stop"))


def scenario_popup_play_and_stop(s):
    app, w = open_player(s, "tone.mp3")
    lst = input_list(w)

    # The popup's entries are reached with the keyboard: Play/Pause first, Stop second.
    def popup_entry(downs):
        click(entry(lst, "tone.mp3"), button=3)
        time.sleep(0.5)
        key(*(["Down"] * downs), "Return")

    popup_entry(1)
    wait_stream(False, "the file playing from the popup menu")
    popup_entry(2)
    wait_no_stream("the stream gone after Stop in the popup menu")
