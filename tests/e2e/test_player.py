# The preview player: play, pause, resume and stop an MP3. What the user hears is checked at the
# sound server: a stream appears, is corked on pause and is gone after Stop.
import os
import re
import time

from e2e import *


def streams():
    """The sound server's playback streams: whether each is corked."""
    out = subprocess.run(["pactl", "list", "sink-inputs"], capture_output=True, text=True,
                         check=True).stdout
    return [re.search(r"Corked: yes", block) is not None
            for block in out.split("Sink Input #")[1:]]


def wait_playing(what):
    wait_until(lambda: Seen(streams() == [False], streams()), what)


def wait_silent(what):
    wait_until(lambda: Seen(all(streams()), streams()), what)


def seconds_of(text):
    """The seconds a "m.ss.mmm" time text stands for."""
    m = re.fullmatch(r"(\d+)\.(\d\d)\.(\d\d\d)", text.strip())
    if not m:
        raise Failure(f"a time text, not {text!r}")
    return int(m.group(1)) * 60 + int(m.group(2)) + int(m.group(3)) / 1000


def scenario_preview_player(s):
    folder = s.path("music")
    os.makedirs(folder)
    make_audio(os.path.join(folder, "tone.mp3"), 10, "libmp3lame")
    app = s.start(os.path.join(folder, "tone.mp3"))
    w = app.main_window()
    position = find(w, "text", "Play position")

    def at():
        return seconds_of(text_of(position))

    click(entry(input_list(w), "tone.mp3"))
    wait_panel(w, "tone.mp3")
    wait_silent("no stream before the file plays")
    press(button(w, "Play"))
    wait_playing("a stream playing the file")
    wait_until(lambda: Seen(at() > 0.3, text_of(position)), "the position moving")
    press(button(w, "Pause"))
    wait_silent("the stream corked on pause")
    paused = at()
    time.sleep(0.6)
    expect(at() == paused, f"the position held at {paused}", text_of(position))
    press(button(w, "Play"))
    wait_playing("the file playing again")
    wait_until(lambda: Seen(at() > paused, text_of(position)), f"the file going on from {paused}")

    press(button(w, "Stop"))
    wait_silent("the stream gone after Stop")
    wait_text(position, "0.00.000")
    expect(is_enabled(button(w, "Play")), "Play offered again after Stop", "disabled")
