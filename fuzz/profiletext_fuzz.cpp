// Feeds arbitrary bytes to the message-file reader and looks up keys taken from the input, so
// that section and key matching, trimming, quote removal and the length cut all get exercised.
#include "core/texts/ProfileText.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const ProfileText text = ProfileText::parse(bytes);

    // Use the first two lines of the input as section and key names.
    const std::size_t first = bytes.find('\n');
    const std::string_view section = bytes.substr(0, first);
    std::string_view key;
    if (first != std::string_view::npos) {
        const std::string_view rest = bytes.substr(first + 1);
        key = rest.substr(0, rest.find('\n'));
    }
    for (std::string_view s : {section, std::string_view("msgEN"), std::string_view("msgIT")}) {
        for (const auto &[name, value] : text.section(s)) {
            const auto again = text.value(s, name);
            if (!again || *again != value || value.size() > 4 * ProfileText::MaxValueLength)
                __builtin_trap();
        }
        (void)text.value(s, key);
        (void)text.value(s, "88");
    }
    return 0;
}
