// TBitmap: a memory bitmap with its own canvas. Pixels live in a top-down DIB
// section of 24 or 32 bits, so that they can be read row by row; the bitmap
// loads and saves .bmp files and loads bitmap resources.
#pragma once

#include "classlib/win/Win32.h"

#include <cstdint>
#include <memory>
#include <string>

#include "classlib/win/GdiCanvas.h"
#include "classlib/win/GdiHandles.h"

namespace classlib {

enum class TPixelFormat : std::uint8_t { pf24bit, pf32bit };

class TBitmap {
 public:
  // An empty bitmap (0 x 0); drawing on its canvas does nothing.
  TBitmap();
  TBitmap(int width, int height, TPixelFormat format = TPixelFormat::pf24bit);
  ~TBitmap();
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  TPixelFormat PixelFormat() const { return format_; }
  // A new size keeps the pixels that still fit and paints the new area
  // white; a width or height of 0 or less empties the bitmap. Sizes above
  // kMaxSide are refused (false), leaving the bitmap as it was.
  bool SetSize(int width, int height);
  void SetPixelFormat(TPixelFormat format);
  static constexpr int kMaxSide = 32768;

  // The bitmap's canvas, valid as long as the bitmap.
  TGdiCanvas& Canvas() { return *canvas_; }
  HBITMAP Handle() const { return bitmap_.Get(); }

  // Row y of the pixels (0 is the top row): 3 or 4 bytes a pixel in the order
  // blue, green, red (and an unused byte). Null for a row outside the bitmap.
  // Drawing through GDI is finished before the pointer is handed out.
  std::uint8_t* ScanLine(int y);
  int BytesPerPixel() const { return format_ == TPixelFormat::pf32bit ? 4 : 3; }

  // Reads a .bmp file of 1, 4, 8, 16, 24 or 32 bits a pixel. A missing,
  // damaged or unsupported file leaves the bitmap unchanged and gives false
  // with a message in `error`.
  bool LoadFromFile(const std::string& fileName, std::string* error = nullptr);
  // Writes an uncompressed .bmp file in the bitmap's pixel format.
  bool SaveToFile(const std::string& fileName, std::string* error = nullptr);
  // Loads bitmap resource `id` of `instance`; false when there is none.
  bool LoadFromResourceID(HINSTANCE instance, int id);

 private:
  // Makes the pixel memory for a new size and format and selects it; false
  // when the system refuses.
  bool Allocate(int width, int height, TPixelFormat format, TOwnedBitmap& bitmap, std::uint8_t*& bits) const;
  void Adopt(int width, int height, TPixelFormat format, TOwnedBitmap bitmap, std::uint8_t* bits);
  int Stride() const { return (width_ * BytesPerPixel() + 3) & ~3; }

  TOwnedMemoryDC dc_;
  std::unique_ptr<TGdiCanvas> canvas_;
  HGDIOBJ emptyBitmap_;  // the DC's own 1 x 1 bitmap, selected while empty
  TOwnedBitmap bitmap_;
  std::uint8_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  TPixelFormat format_ = TPixelFormat::pf24bit;
};

}  // namespace classlib
