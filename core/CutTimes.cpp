#include "core/CutTimes.h"

#include <algorithm>
#include <cmath>

namespace CutTimes {

namespace {

// Longer than any audio file and still exact in a double, so the conversions below stay
// defined whatever a broken probe reports.
constexpr double LongestMs = 1.0e15;

// A time as whole, non-negative milliseconds.
long long wholeMs(double ms)
{
    if (!(ms > 0)) // also NaN
        return 0;
    return static_cast<long long>(std::floor(std::min(ms, LongestMs)));
}

bool lengthKnown(double sourceLengthMs)
{
    return std::isfinite(sourceLengthMs) && sourceLengthMs > 0;
}

} // namespace

QString TimeText(double ms)
{
    const long long t = wholeMs(ms);
    return QStringLiteral("%1.%2.%3")
        .arg(t / 60000)
        .arg(t % 60000 / 1000, 2, 10, QLatin1Char('0'))
        .arg(t % 1000, 3, 10, QLatin1Char('0'));
}

double MsOfPosition(double seconds)
{
    if (!(seconds > 0))
        return 0;
    return std::min(seconds * 1000, LongestMs);
}

double MsOfScrollValue(int value, double sourceLengthMs)
{
    if (!lengthKnown(sourceLengthMs))
        return 0;
    return std::clamp(value, 0, ScrollMax) * sourceLengthMs / ScrollMax;
}

std::optional<int> ScrollValueOfMs(double ms, double sourceLengthMs)
{
    const std::optional<double> p = MarkerProportion(ms, sourceLengthMs);
    if (!p)
        return std::nullopt;
    return int(std::lround(*p * ScrollMax));
}

std::optional<double> MarkerProportion(double ms, double sourceLengthMs)
{
    if (!lengthKnown(sourceLengthMs))
        return std::nullopt;
    if (!(ms > 0))
        return 0.0;
    // The player may report a position a little past the probed length.
    return std::min(ms / sourceLengthMs, 1.0);
}

double FinishNotBeforeStart(double finishMs, double startMs)
{
    return finishMs < startMs ? startMs : finishMs;
}

} // namespace CutTimes
