#pragma once

#include <string>
#include <vector>

// Writes `count` tagged MP3 files into `folder` (ID3v2.3 with text, user text, link, UFID and
// comment frames and padding; MPEG audio; an ID3v1.1 tag) and returns their paths. The audio
// is the repository's short test tone, repeated to a realistic-ish size.
std::vector<std::string> makeBenchCorpus(const std::string &folder, int count);

// Writes `count` files that mix the above with MP3s as real taggers and encoders leave them
// (the modern-mode fixtures: ID3v2.2 to v2.4, UTF-16 and UTF-8 texts, unsynchronised tags,
// VBR streams with and without a Xing/Info or VBRI header), one of each in turn, and returns
// their paths.
std::vector<std::string> makeMixedBenchCorpus(const std::string &folder, int count);
