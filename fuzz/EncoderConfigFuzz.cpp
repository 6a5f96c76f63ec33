// Feeds arbitrary bytes to the encoder's configuration reader: it must either return a
// configuration or throw ConfigError, never crash or read out of bounds.

#include "EncoderConfigReader.h"
#include "EncoderProfiles.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    try {
        const tonvera::EncoderConfig c = tonvera::EncoderConfigReader::parse(
            std::string_view(reinterpret_cast<const char *>(data), size));
        // What the reader lets through must be usable as is.
        if (c.input.empty() || c.output.empty() || !tonvera::findEncoderProfile(c.profile))
            std::abort();
    } catch (const tonvera::ConfigError &) {
    }
    return 0;
}
