// The chart settings blobs: the chart settings that have no property of their
// own, kept as four short texts that never hold a zero byte.
//
//   "Res", kind byte 1..4, then the items of the kind:
//   1: per series, requests 85, 86 and 108 (4-byte items)
//   2: the 17 constants (8-byte items), then GalleryTool, whether request
//      14 is on (0 or 1), request 14's value and Shape (4-byte items)
//   3: per series, request 104; then colours 0..15 with their backgrounds
//   4: titles 0..3 (text items); then fonts 0..9: colour and packed font
//
// A 4-byte item is the value's four bytes (little-endian) with each zero
// byte written as "-", then 0x20 plus bit i for each byte i that was zero.
// An 8-byte item is the eight bytes likewise, a mask byte with bit i for
// each zero byte, and a flag byte: 2 when the mask is valid, 1 when no byte
// was zero (the mask byte then holds 0x20). A text item is its length plus
// one, then its characters; the reader keeps at most 25 of them.
//
// A blob holds at most 255 bytes: building stops before the first item that
// would not fit, and applying stops at the first item the blob does not hold
// whole.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace foldwick {

class TChartFXCore;

constexpr size_t kChartBlobLimit = 255;
constexpr size_t kChartBlobTextLimit = 25;

// Item codecs. Appending gives false, changing nothing, when the item would
// take the blob past kChartBlobLimit. Reading advances `pos` and gives
// nothing when the item is not held whole from `pos` on.
bool AppendBlobInt(std::string& blob, std::uint32_t value);
bool AppendBlobDouble(std::string& blob, double value);
bool AppendBlobText(std::string& blob, std::string_view text);
std::optional<std::uint32_t> ReadBlobInt(std::string_view blob, size_t& pos);
std::optional<double> ReadBlobDouble(std::string_view blob, size_t& pos);
std::optional<std::string> ReadBlobText(std::string_view blob, size_t& pos);

// The blob of `kind` (1 to 4) from the chart's current settings; empty
// without a chart or for another kind.
std::string BuildChartBlob(TChartFXCore& chart, int kind);
// Sends a blob's settings to the chart; a blob whose header is not "Res"
// and `kind` changes nothing.
void ApplyChartBlob(TChartFXCore& chart, int kind, std::string_view blob);

}  // namespace foldwick
