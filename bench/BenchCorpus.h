#pragma once

#include <string>
#include <vector>

// Writes `count` tagged MP3 files into `folder` (ID3v2.3 with text, user text, link, UFID and
// comment frames and padding; MPEG audio; an ID3v1.1 tag) and returns their paths. The audio
// is the repository's short test tone, repeated to a realistic-ish size.
std::vector<std::string> makeBenchCorpus(const std::string &folder, int count);
