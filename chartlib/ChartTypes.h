// The bits of the chart's type word (request 1), shared by the chart library
// and the chart control that sends them. The low byte is the chart type.
#pragma once

#include <cstdint>

namespace chartlib {

constexpr std::uint32_t kTypeMask = 0xFF;
constexpr std::uint32_t kType3D = 0x100;
constexpr std::uint32_t kTypeToolBar = 0x400;
constexpr std::uint32_t kTypePaletteBar = 0x800;
constexpr std::uint32_t kTypePointColors = 0x10000;  // a colour per point: index point * series + series
constexpr std::uint32_t kTypePatternBar = 0x100000;
// The chart types drawn.
constexpr int kTypeBar = 2;
constexpr int kTypePie = 5;
constexpr int kTypeList = 8;

// Data-transfer kinds of OpenData and CloseData.
constexpr int kTransferValues = 1;
constexpr int kTransferColors = 3;

}  // namespace chartlib
