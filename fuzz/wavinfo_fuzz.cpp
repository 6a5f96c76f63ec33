// The information panel's WAV header reader: arbitrary bytes as the start of a file, then the
// format lines built from whatever was read.
#include "browser/PanelText.h"
#include "browser/WavInfo.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const WavInfo info = WavInfo::fromHeader(bytes);
    if (info.hasSignature())
        (void)PanelText::WavInfoText(info);
    return 0;
}
