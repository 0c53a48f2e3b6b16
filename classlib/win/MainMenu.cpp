// The menu bar: built on demand, filled as pop-ups open, commands to items.
#include "classlib/win/MainMenu.h"

#include "classlib/win/Application.h"
#include "classlib/win/MenuHandle.h"

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

void TMainMenu::Rebuild() {
  if (!form_->HandleAllocated()) return;
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
