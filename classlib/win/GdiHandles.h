// Small holders for GDI handles, so that every pen, brush, font, bitmap,
// region and device context is let go exactly once. Owned objects delete
// themselves (TOwned...); device contexts lent by the system go back to it
// (TWindowDCLease, TPaintScope); selections and saved states are scoped
// (TSelectScope, TSavedDCScope).
#pragma once

#include "classlib/win/Win32.h"

#include <utility>

namespace classlib {

// Owns one GDI object (pen, brush, font, bitmap, region) and deletes it.
template <class Handle>
class TOwnedGdiObject {
 public:
  TOwnedGdiObject() = default;
  explicit TOwnedGdiObject(Handle handle) : handle_(handle) {}
  ~TOwnedGdiObject() { Reset(); }
  TOwnedGdiObject(TOwnedGdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  TOwnedGdiObject& operator=(TOwnedGdiObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  TOwnedGdiObject(const TOwnedGdiObject&) = delete;
  TOwnedGdiObject& operator=(const TOwnedGdiObject&) = delete;

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Deletes the held object and takes `handle` instead.
  void Reset(Handle handle = nullptr) {
    if (handle_ != nullptr && handle_ != handle) DeleteObject(handle_);
    handle_ = handle;
  }
  // Gives the object up without deleting it.
  Handle Release() { return std::exchange(handle_, nullptr); }

 private:
  Handle handle_ = nullptr;
};

using TOwnedPen = TOwnedGdiObject<HPEN>;
using TOwnedBrush = TOwnedGdiObject<HBRUSH>;
using TOwnedFont = TOwnedGdiObject<HFONT>;
using TOwnedBitmap = TOwnedGdiObject<HBITMAP>;
using TOwnedRegion = TOwnedGdiObject<HRGN>;

// A memory device context of our own (CreateCompatibleDC), deleted with it.
class TOwnedMemoryDC {
 public:
  // Compatible with `reference`, or with the screen when null.
  explicit TOwnedMemoryDC(HDC reference = nullptr) : dc_(CreateCompatibleDC(reference)) {}
  ~TOwnedMemoryDC() {
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  TOwnedMemoryDC(const TOwnedMemoryDC&) = delete;
  TOwnedMemoryDC& operator=(const TOwnedMemoryDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// A window's device context borrowed with GetDC and given back with ReleaseDC.
// A null window lends the screen's.
class TWindowDCLease {
 public:
  explicit TWindowDCLease(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~TWindowDCLease() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  TWindowDCLease(const TWindowDCLease&) = delete;
  TWindowDCLease& operator=(const TWindowDCLease&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint on construction, EndPaint on destruction.
class TPaintScope {
 public:
  explicit TPaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
  ~TPaintScope() { EndPaint(window_, &paint_); }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;
  HDC Get() const { return dc_; }
  const RECT& PaintRect() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_ = {};
  HDC dc_ = nullptr;
};

// Selects an object into a device context and puts the previous one back.
class TSelectScope {
 public:
  TSelectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~TSelectScope() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  TSelectScope(const TSelectScope&) = delete;
  TSelectScope& operator=(const TSelectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// SaveDC on construction, RestoreDC on destruction: selections, modes,
// colours and clipping come back as they were.
class TSavedDCScope {
 public:
  explicit TSavedDCScope(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~TSavedDCScope() {
    if (saved_ != 0) RestoreDC(dc_, saved_);
  }
  TSavedDCScope(const TSavedDCScope&) = delete;
  TSavedDCScope& operator=(const TSavedDCScope&) = delete;

 private:
  HDC dc_;
  int saved_;
};

}  // namespace classlib
