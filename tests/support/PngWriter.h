// Writes 8-bit RGB pixels as a PNG file, uncompressed (stored deflate blocks),
// so that pictures the tests save can be looked at with any viewer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace uikit {

// `rgb` holds height rows of width pixels, 3 bytes each (red, green, blue),
// top row first. False when the sizes do not match or the file cannot be
// written.
bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace uikit
