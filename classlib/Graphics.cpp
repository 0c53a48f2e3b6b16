// System colour table, colour resolution, rectangle arithmetic and font sizes.
#include "classlib/Graphics.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace classlib {

namespace {

// The standard scheme's values, used until a provider is installed (and in
// native tests, where no system exists).
constexpr TSystemColorEntry kSystemColors[kSystemColorCount] = {
    {"clScrollBar", 0, RGBColor(192, 192, 192)},
    {"clBackground", 1, RGBColor(0, 128, 128)},
    {"clActiveCaption", 2, RGBColor(0, 0, 128)},
    {"clInactiveCaption", 3, RGBColor(128, 128, 128)},
    {"clMenu", 4, RGBColor(192, 192, 192)},
    {"clWindow", 5, RGBColor(255, 255, 255)},
    {"clWindowFrame", 6, RGBColor(0, 0, 0)},
    {"clMenuText", 7, RGBColor(0, 0, 0)},
    {"clWindowText", 8, RGBColor(0, 0, 0)},
    {"clCaptionText", 9, RGBColor(255, 255, 255)},
    {"clActiveBorder", 10, RGBColor(192, 192, 192)},
    {"clInactiveBorder", 11, RGBColor(192, 192, 192)},
    {"clAppWorkSpace", 12, RGBColor(128, 128, 128)},
    {"clHighlight", 13, RGBColor(0, 0, 128)},
    {"clHighlightText", 14, RGBColor(255, 255, 255)},
    {"clBtnFace", 15, RGBColor(192, 192, 192)},
    {"clBtnShadow", 16, RGBColor(128, 128, 128)},
    {"clGrayText", 17, RGBColor(128, 128, 128)},
    {"clBtnText", 18, RGBColor(0, 0, 0)},
    {"clInactiveCaptionText", 19, RGBColor(192, 192, 192)},
    {"clBtnHighlight", 20, RGBColor(255, 255, 255)},
    {"cl3DDkShadow", 21, RGBColor(0, 0, 0)},
    {"cl3DLight", 22, RGBColor(223, 223, 223)},
    {"clInfoText", 23, RGBColor(0, 0, 0)},
    {"clInfoBk", 24, RGBColor(255, 255, 225)},
};

std::atomic<TSystemColorProvider> gProvider{nullptr};

}  // namespace

const TSystemColorEntry* SystemColorTable() { return kSystemColors; }

TColor ColorToRGB(TColor c) {
  if (!IsSystemColor(c)) return c;
  int index = static_cast<int>(c & ~kSystemColorFlag);
  if (index < 0 || index >= kSystemColorCount) return clBlack;
  if (TSystemColorProvider provider = gProvider.load()) return provider(index) & 0xFFFFFF;
  return kSystemColors[index].Default;
}

void SetSystemColorProvider(TSystemColorProvider provider) { gProvider.store(provider); }

TRect IntersectRect(const TRect& a, const TRect& b) {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
  return r.IsEmpty() ? TRect{} : r;
}

TRect UnionRect(const TRect& a, const TRect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}

void TFont::SetSize(int points, int pixelsPerInch) {
  Height = -static_cast<int>(std::lround(static_cast<double>(points) * pixelsPerInch / 72.0));
}

int TFont::Size(int pixelsPerInch) const {
  if (pixelsPerInch <= 0) return 0;
  return static_cast<int>(std::lround(static_cast<double>(-Height) * 72.0 / pixelsPerInch));
}

}  // namespace classlib
