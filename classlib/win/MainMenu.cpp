// The menu bar: built on demand, filled as pop-ups open, commands to items.
#include "classlib/win/MainMenu.h"

#include "classlib/win/Application.h"
#include "classlib/win/MenuHandle.h"

#include <cstdint>
#include <map>
#include <string>

namespace classlib {

TMainMenu::TMainMenu(TComponent* AOwner, TForm* form) : TComponent(AOwner), form_(form), items_(new TMenuItem(nullptr)) {
  form_->AddMessageHook(this, [this](TMessage& m) { return FormMessage(m); });
  if (form_->HandleAllocated()) Rebuild();
}

TMainMenu::~TMainMenu() {
  form_->RemoveMessageHook(this);
  if (bar_ != nullptr && form_->HandleAllocated() && GetMenu(form_->Handle()) == bar_) SetMenu(form_->Handle(), nullptr);
  if (bar_ != nullptr) DestroyMenu(bar_);
  delete items_;
}

HMENU TMainMenu::NewPopup(const TMenuItem& item) {
  HMENU popup = CreatePopupMenu();
  popups_[popup] = &item;
  return popup;
}

bool TMainMenu::RefreshInPlace() {
  if (bar_ == nullptr) return false;
  // The columns by where they stand: a maximised MDI child puts its own
  // items on the bar beside them.
  std::map<const TMenuItem*, UINT> positions;
  const int count = GetMenuItemCount(bar_);
  for (int pos = 0; pos < count; ++pos) {
    auto popup = popups_.find(GetSubMenu(bar_, pos));
    const UINT id = GetMenuItemID(bar_, pos);
    const TMenuItem* item = popup != popups_.end() ? popup->second : id != static_cast<UINT>(-1) ? items_->Find(static_cast<std::uint16_t>(id)) : nullptr;
    if (item != nullptr && item->Parent() == items_) positions[item] = static_cast<UINT>(pos);
  }
  for (int i = 0; i < items_->Count(); ++i) {
    const TMenuItem* item = items_->Items(i);
    if (item->Caption == "-") continue;
    auto at = positions.find(item);
    // A column that gained or lost its items, or one not on the bar.
    if (at == positions.end() || (GetSubMenu(bar_, static_cast<int>(at->second)) != nullptr) != (item->Count() > 0))
      return false;
  }
  for (const auto& [item, pos] : positions) {
    std::string caption = item->Caption;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_STRING;
    // The column the user is on stays lit.
    const UINT lit = GetMenuState(bar_, pos, MF_BYPOSITION) & MF_HILITE;
    info.fState = lit | (item->Checked ? MFS_CHECKED : 0) | (item->Enabled ? 0 : MFS_GRAYED);
    info.dwTypeData = caption.data();
    SetMenuItemInfoA(bar_, pos, TRUE, &info);
  }
  return true;
}

void TMainMenu::Rebuild() {
  if (!form_->HandleAllocated()) return;
  // The bar keeps its handle while it holds the same columns: it may be the
  // one the system is tracking (a refresh as a menu opens), and a handle
  // destroyed under the tracking would leave its column unable to open.
  if (RefreshInPlace()) {
    DrawMenuBar(form_->Handle());
    return;
  }
  HMENU old = bar_;
  popups_.clear();
  bar_ = CreateMenu();
  AppendMenuItems(bar_, *items_, [this](const TMenuItem& item) { return NewPopup(item); });
  SetMenu(form_->Handle(), bar_);
  if (old != nullptr) DestroyMenu(old);
  DrawMenuBar(form_->Handle());
}

bool TMainMenu::FormMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CREATE:
      Rebuild();
      return false;
    case WM_INITMENUPOPUP: {
      auto popup = reinterpret_cast<HMENU>(Message.WParam);
      auto it = popups_.find(popup);
      if (it == popups_.end()) return false;
      const TMenuItem* item = it->second;
      // Submenus of the previous filling go with their entries.
      for (int n = GetMenuItemCount(popup); n > 0; --n) {
        HMENU sub = GetSubMenu(popup, n - 1);
        if (sub != nullptr) popups_.erase(sub);
        DeleteMenu(popup, static_cast<UINT>(n - 1), MF_BYPOSITION);
      }
      AppendMenuItems(popup, *item, [this](const TMenuItem& sub) { return NewPopup(sub); });
      return false;
    }
    case WM_MENUSELECT: {
      // The selected item's hint goes to the application; a pop-up, a
      // separator or the menu's end clears it.
      const UINT flags = HIWORD(Message.WParam);
      const TMenuItem* item = nullptr;
      if (flags != 0xFFFF && (flags & (MF_POPUP | MF_SEPARATOR)) == 0) item = items_->Find(LOWORD(Message.WParam));
      Application().SetHint(item != nullptr ? item->Hint : std::string());
      return false;
    }
    case WM_EXITMENULOOP:
      Application().SetHint("");
      return false;
    case WM_COMMAND:
      if (Message.LParam == 0 && HIWORD(Message.WParam) <= 1) {
        if (TMenuItem* item = items_->Find(LOWORD(Message.WParam))) {
          item->Click();
          return true;
        }
      }
      return false;
    default:
      return false;
  }
}

}  // namespace classlib
