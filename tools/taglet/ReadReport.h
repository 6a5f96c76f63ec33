#pragma once

#include <taglet/Taglet.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What one read or write run of the command line observed, printed as one JSON object.
struct ReadReport
{
    std::string file;
    std::optional<taglet::Error> error;
    std::vector<std::int16_t> events;
    std::vector<std::u16string> messages;
    bool pictureSizes = false; // decode every slot's picture and report its size

    // The whole object on one line: the file, the error, the events, then the control's state.
    std::string toJson(taglet::Taglet &tag) const;
};

// JSON text helpers: every 16-bit character becomes its code point; all output stays ASCII.
std::string jsonString(const std::u16string &text);
std::string jsonError(const taglet::Error &error);
