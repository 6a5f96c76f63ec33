#pragma once
// The times of the cut section as the user sees and drags them: the "m.ss.mmm" text, the two
// scroll bars (0 to 10000 over the file's length) and the marker lines over the time axis.
// Whether the section commands are offered is CutSection::isSet(), asked after every change.
// The preview player shows its position in the same text and on the same scale, so that a
// position and the section times read alike.

#include <QString>
#include <optional>

namespace CutTimes {

// The scroll bars' range: ScrollMax stands for the end of the file.
inline constexpr int ScrollMax = 10000;

// "3.05.045" for 3 minutes, 5 seconds and 45 ms: minutes without leading zeros or upper limit,
// seconds in two digits, milliseconds in three. Fractions of a millisecond are dropped, as the
// encoder receives whole milliseconds; a negative or undefined time reads "0.00.000".
QString TimeText(double ms);

// A player position in seconds as a section time: never negative.
double MsOfPosition(double seconds);

// The time a scroll value stands for; 0 while the file's length is unknown (0 or less).
double MsOfScrollValue(int value, double sourceLengthMs);

// The scroll value showing a time, rounded to the nearest step and kept within the bar's range;
// nullopt while the file's length is unknown, so the bar stays where it is.
std::optional<int> ScrollValueOfMs(double ms, double sourceLengthMs);

// Where a marker line stands over the time axis, as a proportion of the track's width (0 at the
// start of the file, 1 at its end); nullopt while the file's length is unknown.
std::optional<double> MarkerProportion(double ms, double sourceLengthMs);

// The finish is never before the start: a finish set or dragged there moves to the start,
// which leaves an empty section. A start dragged beyond the finish stays where it is.
double FinishNotBeforeStart(double finishMs, double startMs);

} // namespace CutTimes
