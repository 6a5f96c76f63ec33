#pragma once

#include <string>
#include <vector>

// Writes `count` tagged MP3 files into `folder` (ID3v2.3 with text, user text, link, UFID and
// comment frames and padding; MPEG audio; an ID3v1.1 tag) and returns their paths. The audio
// is the repository's short test tone, repeated to a realistic-ish size. With a `cover` (the
// bytes of a JPEG file), every tenth file carries it as its front cover, as a tagged
// collection does.
std::vector<std::string> makeBenchCorpus(
    const std::string &folder, int count, const std::string &cover = {});

// Writes `count` files that mix the above with MP3s as real taggers and encoders leave them
// (the modern-mode fixtures: ID3v2.2 to v2.4, UTF-16 and UTF-8 texts, unsynchronised tags,
// VBR streams with and without a Xing/Info or VBRI header), one of each in turn, and returns
// their paths.
std::vector<std::string> makeMixedBenchCorpus(
    const std::string &folder, int count, const std::string &cover = {});

// Two files that differ only in a front cover: `folder`/plain.mp3 and `folder`/cover.mp3, an
// ID3v2.3 tag of a few texts before a VBR stream with a Xing header (so that reading its
// length costs as little as it does for most real files), and an ID3v1 tag.
void makeCoverPair(const std::string &folder, const std::string &cover);

// A 1500x1500 JPEG of a test pattern with grain, about the size of a scanned album cover
// (made with Qt's image writer).
std::string makeCoverJpeg();
