// Menu handles built from TMenuItem trees.
#pragma once

#include <windows.h>

#include <functional>

#include "classlib/Menus.h"

namespace classlib {

// A new pop-up menu handle showing the sub-items of `root` (with their own
// sub-items as submenus) under their command ids. The caller destroys it.
HMENU CreatePopupHandle(const TMenuItem& root);

// Appends the sub-items of `parent` to `menu`: separators, items under their
// command ids, and for an item with sub-items the submenu `submenu` gives.
void AppendMenuItems(HMENU menu, const TMenuItem& parent, const std::function<HMENU(const TMenuItem&)>& submenu);

}  // namespace classlib
