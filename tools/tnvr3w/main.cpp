// tnvr3w SOURCE TARGET: decodes a whole MP3 file into a 16-bit PCM WAV file.

#include "Mpg123Source.h"
#include "TempOutputFile.h"
#include "WavWriter.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

void decode(const std::string &source, const std::string &target)
{
    tonvera::Mpg123Source input(source);
    if (input.isSameFile(target))
        throw std::runtime_error("the target \"" + target + "\" is the source itself");
    tonvera::WavWriter output(target, input.sampleRate(), input.channels());
    std::vector<std::int16_t> buffer(1 << 19);
    while (const std::size_t count = input.read(buffer))
        output.write(std::span(buffer).first(count));
    if (output.dataBytes() == 0)
        throw std::runtime_error("\"" + source + "\" holds no MPEG audio");
    output.commit();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fputs("usage: tnvr3w SOURCE TARGET\n", stderr);
        return 2;
    }
    tonvera::TempOutputFile::installSignalCleanup();
    try {
        decode(argv[1], argv[2]);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "tnvr3w: %s\n", e.what());
        return 1;
    }
    return 0;
}
