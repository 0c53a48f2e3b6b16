// Portable graphics values: colours, points and rectangles, and the font, pen
// and brush a canvas draws with. Nothing here touches a device; a canvas
// (Canvas.h) realises these values on whatever it draws on.
#pragma once

#include <cstdint>
#include <string>

namespace classlib {

// A colour in the Win32 COLORREF layout: red in the low byte, then green, then
// blue ($FF0000 is blue). A value with kSystemColorFlag set names a system
// colour by its index (the Win32 COLOR_ numbers); ColorToRGB resolves it.
using TColor = std::uint32_t;

constexpr TColor kSystemColorFlag = 0x80000000u;
// "No colour": a transparent background, an unset colour field.
constexpr TColor clNone = 0x1FFFFFFFu;

constexpr TColor RGBColor(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }

// The sixteen named colours.
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

// The system colours, by their Win32 index.
constexpr TColor SystemColor(int index) { return kSystemColorFlag | static_cast<TColor>(index); }
constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);
constexpr int kSystemColorCount = 25;

constexpr bool IsSystemColor(TColor c) { return (c & kSystemColorFlag) != 0 && c != clNone; }

// One named system colour: its name as the class library spells it, its Win32
// index and the value of the standard scheme, used where no system answers.
struct TSystemColorEntry {
  const char* Name;
  int Index;
  TColor Default;
};
// The table of the named system colours, kSystemColorCount entries in index order.
const TSystemColorEntry* SystemColorTable();

// Resolves a system colour to its RGB value (plain colours come back as they
// are; clNone comes back as clNone). The values come from the installed
// provider, or from the standard scheme when none is installed.
TColor ColorToRGB(TColor c);
// Installs the source of system colour values (the Windows build installs
// GetSysColor at start); null restores the standard scheme.
using TSystemColorProvider = TColor (*)(int index);
void SetSystemColorProvider(TSystemColorProvider provider);

struct TPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

// A rectangle whose right and bottom edges lie outside it, as in Win32.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(TPoint p) const { return p.x >= Left && p.x < Right && p.y >= Top && p.y < Bottom; }
  // The rectangle moved by (dx, dy).
  TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
  // The rectangle shrunk by dx on the left and right and dy at top and bottom
  // (negative values grow it).
  TRect Inflate(int dx, int dy) const { return {Left - dx, Top - dy, Right + dx, Bottom + dy}; }
  friend bool operator==(const TRect&, const TRect&) = default;
};
inline TRect Bounds(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }
// The common part of two rectangles; an empty rectangle (all zero) when none.
TRect IntersectRect(const TRect& a, const TRect& b);
// The smallest rectangle holding both; an empty one adds nothing.
TRect UnionRect(const TRect& a, const TRect& b);

// Font style bits.
enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;

// A font as a canvas selects it. Height is in pixels as Win32 takes it: a
// negative value is the character height, a positive one the cell height.
// Escapement turns the text, in tenths of a degree counter-clockwise.
struct TFont {
  std::string Name = "MS Sans Serif";
  int Height = -11;
  TFontStyles Style = 0;
  TColor Color = clWindowText;
  int Escapement = 0;
  int CharSet = 1;  // the default character set

  bool Bold() const { return (Style & fsBold) != 0; }
  // Sets Height from a size in points for a device of `pixelsPerInch`.
  void SetSize(int points, int pixelsPerInch = 96);
  // The size in points on a device of `pixelsPerInch` (rounded).
  int Size(int pixelsPerInch = 96) const;
  friend bool operator==(const TFont&, const TFont&) = default;
};

enum class TPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// How a pen combines with what is drawn already; the values are the Win32
// binary raster operations less one (pmNotXor draws lines that a second
// drawing removes).
enum class TPenMode : std::uint8_t {
  pmBlack, pmNotMerge, pmMaskNotPen, pmNotCopy, pmMaskPenNot, pmNot, pmXor, pmNotMask,
  pmMask, pmNotXor, pmNop, pmMergeNotPen, pmCopy, pmMergePenNot, pmMerge, pmWhite
};

struct TPen {
  TColor Color = clBlack;
  int Width = 1;
  TPenStyle Style = TPenStyle::psSolid;
  TPenMode Mode = TPenMode::pmCopy;
  friend bool operator==(const TPen&, const TPen&) = default;
};

// bsChecker is a checkerboard of single pixels (the dithered look of scroll
// tracks), aligned to the device's origin.
enum class TBrushStyle : std::uint8_t {
  bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross, bsChecker
};

// A brush. Hatched styles draw their lines in Color and fill the gaps with
// HatchBack, or leave them alone when HatchBack is clNone; bsChecker draws
// its squares in Color and HatchBack (white when HatchBack is clNone).
struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = TBrushStyle::bsSolid;
  TColor HatchBack = clNone;
  friend bool operator==(const TBrush&, const TBrush&) = default;
};

}  // namespace classlib
