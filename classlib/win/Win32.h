// The Windows headers as the class library includes them. windows.h makes
// TextOut a macro for TextOutA, which would rename the canvas's TextOut in
// whatever follows; it is undone here (our code calls TextOutA by name).
// Include this before any classlib header that declares a canvas.
#pragma once

#include <windows.h>
#include <commctrl.h>

#undef TextOut
