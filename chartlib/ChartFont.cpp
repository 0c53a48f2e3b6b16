// Packing and unpacking chart fonts.
#include "chartlib/ChartFont.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace chartlib {

namespace {

constexpr const char* kFaces[] = {"Arial",  "Courier", "Courier New", "Helvetica", "Modern",          "Roman",
                                  "Script", "Symbol",  "Times",       "Times New Roman", "Wingdings"};
constexpr int kFaceCount = sizeof kFaces / sizeof kFaces[0];

std::string FaceKey(const std::string& name) {
  std::string key;
  for (char c : name)
    if (c != ' ') key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

}  // namespace

std::uint32_t PackChartFont(const classlib::TFont& font) {
  std::uint32_t packed = static_cast<std::uint32_t>(std::clamp(font.Size(), 0, 0xFF));
  if (font.Style & classlib::fsBold) packed |= 0x100;
  if (font.Style & classlib::fsItalic) packed |= 0x200;
  if (font.Style & classlib::fsUnderline) packed |= 0x400;
  if (font.Style & classlib::fsStrikeOut) packed |= 0x800;
  const std::string key = FaceKey(font.Name);
  for (int face = 1; face < kFaceCount; ++face)
    if (key == FaceKey(kFaces[face])) packed |= static_cast<std::uint32_t>(face) << 16;
  return packed;
}

void UnpackChartFont(std::uint32_t packed, classlib::TFont& font) {
  font.SetSize(static_cast<int>(packed & 0xFF));
  classlib::TFontStyles style = 0;
  if (packed & 0x100) style |= classlib::fsBold;
  if (packed & 0x200) style |= classlib::fsItalic;
  if (packed & 0x400) style |= classlib::fsUnderline;
  if (packed & 0x800) style |= classlib::fsStrikeOut;
  font.Style = style;
  const int face = static_cast<int>((packed >> 16) & 0xF);
  font.Name = kFaces[face < kFaceCount ? face : 0];
}

}  // namespace chartlib
