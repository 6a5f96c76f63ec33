#pragma once

#include <taglet/Image.h>

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace taglet {

// What the host keeps between sessions for one control.
using PropertyValue = std::variant<std::u16string, std::int32_t, bool, Image>;

// The host's store of persisted properties, one value per key.
class PropertyBag
{
public:
    virtual ~PropertyBag() = default;
    // Nothing when the key is not stored (the reader then takes the key's default).
    virtual std::optional<PropertyValue> read(const std::string &key) = 0;
    virtual void write(const std::string &key, const PropertyValue &value) = 0;
};

} // namespace taglet
