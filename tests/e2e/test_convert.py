# Converting: a marked batch with Convert, its outputs read on disk with ffprobe as a player
# would; then STOP in the middle of a long file, with its progress on show.
import os
import re

from e2e import *


def scenario_convert_a_marked_batch_and_stop_a_long_file(s):
    folder = s.path("in put")
    os.makedirs(folder)
    # Names and tags with blanks and quotes: the run hands them to child processes.
    make_audio(os.path.join(folder, "Tom's song.mp3"), 3, "libmp3lame",
               tags={"title": "Tom's Tune", "artist": 'The "Quoted" Band'})
    make_audio(os.path.join(folder, "two words.mp3"), 2, "libmp3lame")
    # Half an hour of CD audio takes about ten seconds to encode here: time enough to stop it.
    make_audio(os.path.join(folder, "long take.wav"), 1800, "pcm_s16le")
    app = s.start(os.path.join(folder, "two words.mp3"))
    w = app.main_window()
    click(find(w, "check box", "All/None"))
    wait_marked_count(w, "(2/2)")
    click(button(w, "Convert"))
    wait_status(w, "Conversion completed - File: ")
    expect_wma(os.path.join(folder, "Tom's song.wma"), 3, title="Tom's Tune",
               artist='The "Quoted" Band')
    expect_wma(os.path.join(folder, "two words.wma"), 2)
    expect(not temporaries(folder), "no temporary files", os.listdir(folder))
    wait_entries(find(w, "list", "Output files"), ["Tom's song.wma", "two words.wma"])

    choose(type_box(w), "WAV")
    click(entry(input_list(w), "long take.wav"))
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
    wait_status(w, "STOPPED while converting file: long take", timeout=TIMEOUT)
    expect(not os.path.exists(os.path.join(folder, "long take.wma")), "no output",
           os.listdir(folder))
    expect(not temporaries(folder), "no temporary files", os.listdir(folder))
    wait_until(lambda: not any(b.name == "STOP" for b in find_all(w, "push button")),
               "the STOP button to go")
