// taglet: reads and writes tags from the command line and prints what the library holds as JSON.
#include "ReadReport.h"

#include <QtPictureDecoder.h>
#include <taglet/Taglet.h>

#include <QString>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using taglet::Taglet;

namespace {

constexpr const char *Usage
    = "usage: taglet read [--no-trim] [--modern] [--picture-sizes] FILE\n"
      "       taglet write FILE [--song S] [--artist S] [--album S] "
      "[--year S] [--comment S] [--genre S] [--track N]\n"
      "       taglet tcon TEXT\n"
      "read prints what the library holds as one JSON object:\n"
      "  --no-trim        keep the blanks that pad the ID3v1 fields\n"
      "  --modern         read ID3v2.2 to v2.4 tags with Unicode texts and comments, and\n"
      "                   measure the stream for its exact length\n"
      "  --picture-sizes  decode the attached pictures and print their width and height\n";

int usage(const std::string &problem)
{
    std::cerr << "taglet: " << problem << "\n" << Usage;
    return 2;
}

std::u16string text(const std::string &utf8)
{
    return QString::fromUtf8(utf8).toStdU16String();
}

// A control wired to record what it reports to its host.
struct Session
{
    Taglet tag;
    ReadReport report;

    explicit Session(const std::string &file)
    {
        report.file = file;
        tag.setPictureDecoder(std::make_shared<taglet::QtPictureDecoder>());
        tag.setErrorHandler([this](std::int16_t &number) { report.events.push_back(number); });
        tag.setMessageHandler(
            [this](const std::u16string &message) { report.messages.push_back(message); });
        tag.setFilename(text(file));
    }

    // Runs one library call; a failure is kept for the report.
    template<class F>
    bool attempt(F call)
    {
        try {
            call();
            return true;
        } catch (const taglet::Error &e) {
            report.error = e;
            return false;
        }
    }

    int finish()
    {
        std::cout << report.toJson(tag) << "\n" << std::flush;
        return report.error ? 1 : 0;
    }
};

int readCommand(const std::vector<std::string> &args)
{
    bool trim = true;
    bool modern = false;
    bool pictureSizes = false;
    std::vector<std::string> files;
    bool optionsDone = false;
    for (const std::string &a : args) {
        if (!optionsDone && a == "--no-trim")
            trim = false;
        else if (!optionsDone && a == "--modern")
            modern = true;
        else if (!optionsDone && a == "--picture-sizes")
            pictureSizes = true;
        else if (!optionsDone && a == "--")
            optionsDone = true;
        else if (!optionsDone && a.size() > 1 && a[0] == '-')
            return usage("unknown option " + a);
        else
            files.push_back(a);
    }
    if (files.size() != 1)
        return usage("read needs exactly one FILE");
    Session s(files[0]);
    s.tag.setTrim(trim);
    s.tag.setModern(modern);
    s.report.pictureSizes = pictureSizes;
    s.attempt([&] { s.tag.Read(); });
    return s.finish();
}

// The text fields write takes, by option; --track is the one number.
using TextSetter = void (Taglet::*)(const std::u16string &);
constexpr std::pair<std::string_view, TextSetter> TextOptions[] = {
    {"--song", &Taglet::setSong},
    {"--artist", &Taglet::setArtist},
    {"--album", &Taglet::setAlbum},
    {"--year", &Taglet::setYear},
    {"--comment", &Taglet::setComment},
    {"--genre", &Taglet::setGenre},
};

TextSetter textSetter(std::string_view option)
{
    for (const auto &[name, setter] : TextOptions) {
        if (name == option)
            return setter;
    }
    return nullptr;
}

int writeCommand(const std::vector<std::string> &args)
{
    if (args.empty())
        return usage("write needs a FILE");
    const std::string &file = args[0];
    std::map<std::string, std::string> values;
    for (size_t i = 1; i < args.size(); i += 2) {
        if (args[i] != "--track" && !textSetter(args[i]))
            return usage("unknown option " + args[i]);
        if (i + 1 >= args.size())
            return usage(args[i] + " needs a value");
        values[args[i]] = args[i + 1];
    }
    std::int16_t track = 0;
    if (values.count("--track")) {
        const std::string &n = values["--track"];
        const auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), track);
        if (ec != std::errc() || end != n.data() + n.size())
            return usage("--track needs a whole number from -32768 to 32767");
    }

    Session s(file);
    if (!s.attempt([&] { s.tag.Read(); }))
        return s.finish();
    s.attempt([&] {
        for (const auto &[key, value] : values) {
            if (key == "--track")
                s.tag.setTrack(track);
            else
                (s.tag.*textSetter(key))(text(value));
        }
        s.tag.Save();
    });
    return s.finish();
}

int tconCommand(const std::vector<std::string> &args)
{
    if (args.size() != 1)
        return usage("tcon needs exactly one TEXT");
    Taglet tag;
    std::u16string value = text(args[0]);
    try {
        const std::u16string genre = tag.DecodeTCON(value);
        std::cout << jsonString(genre) << "\n";
        return 0;
    } catch (const taglet::Error &e) {
        std::cout << "{\"error\": " << jsonError(e) << "}\n";
        return 1;
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return usage("no command");
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "read")
        return readCommand(args);
    if (command == "write")
        return writeCommand(args);
    if (command == "tcon")
        return tconCommand(args);
    if (command == "--help" || command == "-h") {
        std::cout << Usage;
        return 0;
    }
    return usage("unknown command " + command);
}
