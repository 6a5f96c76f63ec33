#pragma once
// The rules of the conversion options that need no widget: the automatic profile choice, the
// size estimate beside the options and what the two "Create" boxes switch.

#include <QString>
#include <QtGlobal>
#include <optional>

namespace tonvera {
struct EncoderProfile;
}

namespace Profiles {

// The profile selected at start-up when no saved choice replaces it (a64).
inline constexpr int DefaultIndex = 4;

// The profile name of a profile list entry: its text up to the first blank.
QString NameOfEntry(const QString &entryText);

// The profile list index the automatic setting picks for a source of this bit rate (bps) and
// sample rate (Hz): a20_2 for low rates, a32 above 22050 Hz or 20008 bps, a48 above 32000 Hz
// or 32000 bps, a64 above 48024 bps or when the bit rate is unknown (0, negative or not a
// number). a20_1, a96 and a128 are never picked automatically.
int AutoSelectIndex(double inputBitRate, double inputFrequency);

// What the estimate knows of the current file.
struct EstimateSource
{
    QString type; // CurrentType: "MP3", "WAV" or "WMA"
    qint64 size = 0; // bytes
    double bitRate = 0; // InputBitRate
    double frequency = 0; // InputFrequency
};

// The two bars beside the options: the input's size and the estimated output's, each bar a
// proportion of the full bar width. The larger of the two sizes fills the width; a small
// output never shrinks below a twentieth of it, so that it stays visible.
struct SizeEstimate
{
    qint64 inputSize = 0;
    qint64 outputSize = 0;
    double inputBar = 1.0; // 0 < inputBar <= 1
    double outputBar = 1.0; // 0.05 <= outputBar <= 1
    QString inputText; // SizeText of each size
    QString outputText;
};

// The estimate for encoding the source with the profile. Compressed sources scale by the ratio
// of bit rates plus 4% for the container (half the input when the source's rate is unknown);
// a WAV is taken as 20 times larger than a WMA of its rates. Nothing to show (nullopt) for an
// empty file or a type the program does not convert: the bars keep what they showed.
// bytesWord is the translated word for "bytes".
std::optional<SizeEstimate> EstimateSize(
    const EstimateSource &source, const tonvera::EncoderProfile &profile, const QString &bytesWord);

// The main window's "Create WM Audio8" (chkWMA) and "Create Wave" (chkWAV) boxes.
enum class OutputBox { Wma, Wav };

struct OutputBoxState
{
    bool wma = false; // chkWMA checked, after the click
    bool wav = false; // chkWAV checked, after the click
    bool haveCurrentFile = false; // CurrentFile is not empty
    bool sectionPlayable = false; // the section commands are on (cmdPlayCut enabled)
};

// What a click on one of the boxes switches; nullopt leaves a control as it is, since other
// rules (marks, the current file's type) also decide over the convert commands.
struct OutputBoxEffect
{
    std::optional<bool> editTag; // ChkTag
    std::optional<bool> convert; // cmdGrab, mnuGrab
    std::optional<bool> convertSection; // cmdGrabCut, chkCutNam
};

// Tags only go into a WMA, so the tag box follows chkWMA. Checking either box offers the
// convert commands (for WMA only once a file is selected); clearing the last one withdraws them.
OutputBoxEffect OutputBoxClicked(OutputBox clicked, const OutputBoxState &state);

} // namespace Profiles
