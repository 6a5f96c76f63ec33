#include "conversion/Profiles.h"

#include "browser/SizeText.h"

#include <EncoderProfiles.h>

#include <algorithm>
#include <cmath>

namespace Profiles {

namespace {

constexpr int A20_2 = 1, A32 = 2, A48 = 3, A64 = 4;

// A rate from a header that could not be read may be 0, negative or not a number; all of them
// mean "unknown".
bool known(double rate)
{
    return std::isfinite(rate) && rate > 0;
}

// Rounds a size estimate to whole bytes without overflowing on absurd rates.
qint64 wholeBytes(double bytes)
{
    if (!(bytes > 0))
        return 0;
    if (bytes >= 9.0e18)
        return Q_INT64_C(9000000000000000000);
    return std::llround(bytes);
}

bool isType(const QString &type, const char *name)
{
    return type.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

} // namespace

QString NameOfEntry(const QString &entryText)
{
    const qsizetype blank = entryText.indexOf(QLatin1Char(' '));
    return blank < 0 ? entryText : entryText.left(blank);
}

int AutoSelectIndex(double inputBitRate, double inputFrequency)
{
    if (!known(inputBitRate))
        return A64;
    const double b = inputBitRate;
    const double s = known(inputFrequency) ? inputFrequency : 0;
    if (b > 48024)
        return A64;
    if (s > 32000 || b > 32000)
        return A48;
    if (s > 22050 || b > 20008)
        return A32;
    return A20_2;
}

std::optional<SizeEstimate> EstimateSize(
    const EstimateSource &source, const tonvera::EncoderProfile &profile, const QString &bytesWord)
{
    if (source.size <= 0)
        return std::nullopt;
    const double inputSize = double(source.size);
    const bool rates = known(source.bitRate) && profile.bitRate > 0;

    qint64 out = 0;
    if (isType(source.type, "MP3") || isType(source.type, "WMA")) {
        out = rates ? wholeBytes(profile.bitRate * inputSize / source.bitRate * 1.04)
                    : wholeBytes(inputSize * 0.5);
    } else if (isType(source.type, "WAV")) {
        out = wholeBytes(inputSize / 20);
        if (rates)
            out = wholeBytes(profile.bitRate * double(out) / source.bitRate);
        if (known(source.frequency) && profile.sampleRate > 0)
            out = wholeBytes(profile.sampleRate * double(out) / source.frequency);
    } else {
        return std::nullopt;
    }

    SizeEstimate e;
    e.inputSize = source.size;
    e.outputSize = out;
    const double ratio = double(out) / inputSize;
    if (ratio <= 1.0) {
        e.outputBar = std::max(ratio, 1.0 / 20);
    } else {
        e.inputBar = 1.0 / ratio;
        e.outputBar = 1.0;
    }
    e.inputText = SizeText(QString(), e.inputSize, bytesWord);
    e.outputText = SizeText(QString(), e.outputSize, bytesWord);
    return e;
}

OutputBoxEffect OutputBoxClicked(OutputBox clicked, const OutputBoxState &state)
{
    OutputBoxEffect effect;
    const bool checked = clicked == OutputBox::Wma ? state.wma : state.wav;
    const bool other = clicked == OutputBox::Wma ? state.wav : state.wma;
    if (clicked == OutputBox::Wma)
        effect.editTag = checked;
    if (checked) {
        if (clicked == OutputBox::Wav || state.haveCurrentFile) {
            effect.convert = true;
            if (state.sectionPlayable)
                effect.convertSection = true;
        }
    } else if (!other) {
        effect.convert = false;
        effect.convertSection = false;
    }
    return effect;
}

} // namespace Profiles
