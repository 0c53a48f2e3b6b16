// Menus as a keyboard user meets them: within one menu (a bar, a pop-up or
// a submenu) the letter after an item's "&" chooses the item, so no two
// items may share one (the key would run the first and never the second),
// and an item has one letter at most. And an item found by its captions.
#pragma once

#include <string>
#include <vector>

#include "classlib/Menus.h"

namespace testsupport {

// One text per fault in the sub-items of `root` and in every submenu below
// it, named by the menu's path from `name`: two items that share a letter
// (File: "Print &Folder Contents..." and "Search &Files..." share F), or an
// item with a second letter. Separators, items without a letter and "&&" (a
// plain "&") pass; letters are compared ignoring case. Empty when all is well.
std::vector<std::string> MenuLetterFaults(const classlib::TMenuItem& root, const std::string& name);

// The menu item reached from `menu` through the captions of `path`, or null.
classlib::TMenuItem* MenuItemAt(classlib::TMenuItem& menu, const std::vector<std::string>& path);

}  // namespace testsupport
