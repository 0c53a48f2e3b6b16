// Menu handles from menu item trees.
#include "classlib/win/MenuHandle.h"

namespace classlib {

void AppendMenuItems(HMENU menu, const TMenuItem& parent, const std::function<HMENU(const TMenuItem&)>& submenu) {
  for (int i = 0; i < parent.Count(); ++i) {
    const TMenuItem& item = *parent.Items(i);
    if (item.Caption == "-") {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (item.Checked ? MF_CHECKED : 0) | (item.Enabled ? 0 : MF_GRAYED);
    if (item.Count() > 0)
      AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu(item)), item.Caption.c_str());
    else
      AppendMenuA(menu, flags, item.Command(), item.Caption.c_str());
  }
}

HMENU CreatePopupHandle(const TMenuItem& root) {
  HMENU menu = CreatePopupMenu();
  if (menu != nullptr) AppendMenuItems(menu, root, [](const TMenuItem& item) { return CreatePopupHandle(item); });
  return menu;
}

}  // namespace classlib
