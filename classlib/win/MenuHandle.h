// Menu handles built from TMenuItem trees.
#pragma once

#include <windows.h>

#include "classlib/Menus.h"

namespace classlib {

// A new pop-up menu handle showing the sub-items of `root` (with their own
// sub-items as submenus) under their command ids. The caller destroys it.
HMENU CreatePopupHandle(const TMenuItem& root);

}  // namespace classlib
