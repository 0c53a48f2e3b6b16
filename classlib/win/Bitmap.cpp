// Memory bitmaps: DIB sections, resizing, and .bmp files read with every
// length checked before use.
#include "classlib/win/Bitmap.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace classlib {

namespace {

std::uint32_t Read32(const std::vector<char>& data, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(data[at + static_cast<std::size_t>(i)]);
  return v;
}

std::uint16_t Read16(const std::vector<char>& data, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(data[at]) |
                                    (static_cast<std::uint8_t>(data[at + 1]) << 8));
}

bool Fail(std::string* error, const std::string& message) {
  if (error != nullptr) *error = message;
  return false;
}

void Put16(std::string& out, std::uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}

void Put32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

}  // namespace

TBitmap::TBitmap()
    : canvas_(std::make_unique<TGdiCanvas>(dc_.Get())), emptyBitmap_(GetCurrentObject(dc_.Get(), OBJ_BITMAP)) {}

TBitmap::TBitmap(int width, int height, TPixelFormat format) : TBitmap() {
  format_ = format;
  SetSize(width, height);
}

TBitmap::~TBitmap() {
  // The canvas puts the DC's first bitmap back before the DIB is deleted.
  canvas_.reset();
}

bool TBitmap::Allocate(int width, int height, TPixelFormat format, TOwnedBitmap& bitmap, std::uint8_t*& bits) const {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = format == TPixelFormat::pf32bit ? 32 : 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* memory = nullptr;
  bitmap.Reset(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &memory, nullptr, 0));
  bits = static_cast<std::uint8_t*>(memory);
  return bitmap && bits != nullptr;
}

void TBitmap::Adopt(int width, int height, TPixelFormat format, TOwnedBitmap bitmap, std::uint8_t* bits) {
  SelectObject(dc_.Get(), bitmap.Get());  // the old DIB is deselected before it goes
  bitmap_ = std::move(bitmap);
  bits_ = bits;
  width_ = width;
  height_ = height;
  format_ = format;
}

bool TBitmap::SetSize(int width, int height) {
  if (width > kMaxSide || height > kMaxSide) return false;
  if (width <= 0 || height <= 0) {
    SelectObject(dc_.Get(), emptyBitmap_);
    bitmap_.Reset();
    bits_ = nullptr;
    width_ = height_ = 0;
    return true;
  }
  if (width == width_ && height == height_) return true;
  TOwnedBitmap fresh;
  std::uint8_t* bits = nullptr;
  if (!Allocate(width, height, format_, fresh, bits)) return false;
  TOwnedMemoryDC scratch(dc_.Get());
  {
    TSelectScope select(scratch.Get(), fresh.Get());
    PatBlt(scratch.Get(), 0, 0, width, height, WHITENESS);
    if (bitmap_) BitBlt(scratch.Get(), 0, 0, width_, height_, dc_.Get(), 0, 0, SRCCOPY);
  }
  Adopt(width, height, format_, std::move(fresh), bits);
  return true;
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == format_) return;
  if (!bitmap_) {
    format_ = format;
    return;
  }
  TOwnedBitmap fresh;
  std::uint8_t* bits = nullptr;
  if (!Allocate(width_, height_, format, fresh, bits)) return;
  TOwnedMemoryDC scratch(dc_.Get());
  {
    TSelectScope select(scratch.Get(), fresh.Get());
    BitBlt(scratch.Get(), 0, 0, width_, height_, dc_.Get(), 0, 0, SRCCOPY);
  }
  Adopt(width_, height_, format, std::move(fresh), bits);
}

std::uint8_t* TBitmap::ScanLine(int y) {
  if (bits_ == nullptr || y < 0 || y >= height_) return nullptr;
  GdiFlush();
  return bits_ + static_cast<std::size_t>(y) * static_cast<std::size_t>(Stride());
}

bool TBitmap::LoadFromFile(const std::string& fileName, std::string* error) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return Fail(error, "Cannot open file " + fileName);
  std::vector<char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string damaged = "Bitmap image is not valid: " + fileName;
  if (data.size() < kFileHeaderSize + kInfoHeaderSize || data[0] != 'B' || data[1] != 'M') return Fail(error, damaged);
  const std::uint32_t pixelOffset = Read32(data, 10);
  const std::uint32_t headerSize = Read32(data, 14);
  if (headerSize < kInfoHeaderSize || headerSize > data.size() - kFileHeaderSize) return Fail(error, damaged);
  const auto width = static_cast<std::int32_t>(Read32(data, 18));
  const auto rawHeight = static_cast<std::int32_t>(Read32(data, 22));
  const std::uint16_t planes = Read16(data, 26);
  const std::uint16_t bitCount = Read16(data, 28);
  const std::uint32_t compression = Read32(data, 30);
  std::uint32_t colorsUsed = Read32(data, 46);
  if (planes != 1 || width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) return Fail(error, damaged);
  const std::int32_t height = rawHeight < 0 ? -rawHeight : rawHeight;
  if (width > kMaxSide || height > kMaxSide) return Fail(error, damaged);
  const bool bitfields = compression == BI_BITFIELDS && (bitCount == 16 || bitCount == 32);
  if (compression != BI_RGB && !bitfields) return Fail(error, "Unsupported bitmap compression: " + fileName);
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
    return Fail(error, damaged);
  // What follows the header: the three masks of a short header with bit
  // fields, or the palette of a bitmap of 8 bits or fewer.
  std::uint64_t tableBytes = 0;
  if (bitfields && headerSize == kInfoHeaderSize) tableBytes = 12;
  if (bitCount <= 8) {
    const std::uint32_t maxColors = 1u << bitCount;
    if (colorsUsed == 0 || colorsUsed > maxColors) colorsUsed = maxColors;
    tableBytes = 4ull * colorsUsed;
  }
  const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bitCount + 31) / 32) * 4;
  if (kFileHeaderSize + headerSize + tableBytes > pixelOffset ||
      pixelOffset + stride * static_cast<std::uint64_t>(height) > data.size())
    return Fail(error, damaged);

  const TPixelFormat format = bitCount == 32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
  TOwnedBitmap fresh;
  std::uint8_t* bits = nullptr;
  if (!Allocate(width, height, format, fresh, bits)) return Fail(error, "Not enough memory for bitmap " + fileName);
  // The file holds a BITMAPINFO followed by the pixels; GDI converts them to
  // the DIB section's format.
  std::vector<char> info(data.begin() + kFileHeaderSize,
                         data.begin() + static_cast<std::ptrdiff_t>(kFileHeaderSize + headerSize + tableBytes));
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  header->biClrUsed = bitCount <= 8 ? colorsUsed : 0;
  TOwnedMemoryDC scratch(dc_.Get());
  {
    TSelectScope select(scratch.Get(), fresh.Get());
    SetStretchBltMode(scratch.Get(), COLORONCOLOR);
    StretchDIBits(scratch.Get(), 0, 0, width, height, 0, 0, width, height, data.data() + pixelOffset,
                  reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, SRCCOPY);
  }
  Adopt(width, height, format, std::move(fresh), bits);
  return true;
}

bool TBitmap::SaveToFile(const std::string& fileName, std::string* error) {
  const int bpp = BytesPerPixel();
  const auto stride = static_cast<std::uint32_t>(Stride());
  const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(height_);
  std::string out;
  out.reserve(kFileHeaderSize + kInfoHeaderSize + imageSize);
  out += "BM";
  Put32(out, static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize) + imageSize);
  Put32(out, 0);
  Put32(out, kFileHeaderSize + kInfoHeaderSize);
  Put32(out, kInfoHeaderSize);
  Put32(out, static_cast<std::uint32_t>(width_));
  Put32(out, static_cast<std::uint32_t>(height_));  // bottom-up rows, as most readers expect
  Put16(out, 1);
  Put16(out, static_cast<std::uint16_t>(bpp * 8));
  Put32(out, BI_RGB);
  Put32(out, imageSize);
  Put32(out, 3780);  // 96 dots per inch, in dots per metre
  Put32(out, 3780);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = height_ - 1; y >= 0; --y) out.append(reinterpret_cast<const char*>(ScanLine(y)), stride);
  std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
  if (!file || !file.write(out.data(), static_cast<std::streamsize>(out.size())))
    return Fail(error, "Cannot write file " + fileName);
  return true;
}

bool TBitmap::LoadFromResourceID(HINSTANCE instance, int id) {
  TOwnedBitmap loaded(static_cast<HBITMAP>(
      LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  BITMAP info = {};
  if (!loaded || GetObjectA(loaded.Get(), sizeof info, &info) == 0) return false;
  const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  TOwnedBitmap fresh;
  std::uint8_t* bits = nullptr;
  const TPixelFormat format = info.bmBitsPixel == 32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
  if (!Allocate(info.bmWidth, height, format, fresh, bits)) return false;
  TOwnedMemoryDC from(dc_.Get()), to(dc_.Get());
  {
    TSelectScope selectFrom(from.Get(), loaded.Get());
    TSelectScope selectTo(to.Get(), fresh.Get());
    BitBlt(to.Get(), 0, 0, info.bmWidth, height, from.Get(), 0, 0, SRCCOPY);
  }
  Adopt(info.bmWidth, height, format, std::move(fresh), bits);
  return true;
}

}  // namespace classlib
