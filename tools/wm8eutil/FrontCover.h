#pragma once
// The front cover of an MP3 or a WMA, carried into the finished WMA as its WM/Picture attribute:
// the picture's own bytes and MIME type, never decoded or re-encoded.

#include <string>

namespace tonvera {

// Copies the front cover (picture type 3, else the first picture) of the MP3 or WMA at source
// into the ASF file at wma. False when the source holds no picture. Throws std::runtime_error when
// the WMA cannot be rewritten.
bool CopyFrontCover(const std::string &source, const std::string &wma);

} // namespace tonvera
