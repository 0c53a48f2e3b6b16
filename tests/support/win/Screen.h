// Pictures of windows as they show on the screen (saved as BMP and PNG into
// the build's pictures folder), and message runs until the program is quiet.
// Used by the UI kit and by tools that take pictures of other programs.
#pragma once

#include "classlib/win/Win32.h"

#include <functional>
#include <string>

#include "classlib/win/Bitmap.h"

namespace uikit {

// Handles messages until none has come for `quietMs`, or `timeoutMs` passed.
void RunUntilIdle(DWORD quietMs = 40, DWORD timeoutMs = 3000);
// Handles messages until `done()` holds (true) or `timeoutMs` passed (false).
bool RunUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// The folder pictures go to: "pictures" beside the build's "bin" folder.
std::string PicturesFolder();
// Copies the window as it shows on the screen (with its frame), or only its
// client area, into `bitmap` once what waits to be painted is painted (what
// was drawn at once stays). False when the window is not on the screen.
bool CaptureWindow(HWND window, classlib::TBitmap& bitmap);
bool CaptureClient(HWND window, classlib::TBitmap& bitmap);
// Copies the whole screen.
bool CaptureScreen(classlib::TBitmap& bitmap);
// Writes the bitmap as PicturesFolder()/name.bmp and name.png; gives the PNG's
// path, or "" when a file could not be written.
std::string SavePicture(classlib::TBitmap& bitmap, const std::string& name);
// Captures the window and saves it (SavePicture).
std::string SaveWindowPicture(HWND window, const std::string& name);
// Writes the bitmap as a PNG file.
bool SavePng(classlib::TBitmap& bitmap, const std::string& path);

}  // namespace uikit
