#pragma once
// Writing the tag editor's fields into an MP3's own ID3v1 tag, as a tag-only run saves it.

#include <QString>

class MediaControls;
struct AppState;

// Writes title, artist, album, year, genre and comment of state into the MP3 at path through
// the window's tag control, after the players let go of the file; the file's own track number
// stays. Returns the reason when the tag was not written, "" when it was.
QString SaveMp3Tag(const QString &path, const AppState &state, MediaControls &media);
