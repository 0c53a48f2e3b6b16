// TMainMenu: a form's menu bar built from a TMenuItem tree. Each pop-up is
// filled from its items when it opens, so captions, checks and enabled states
// are always shown as the items hold them; Rebuild shows changes of the bar's
// own items, on the same handle while the columns stay the same. A chosen
// item's OnClick runs.
#pragma once

#include "classlib/win/Win32.h"

#include <map>

#include "classlib/Menus.h"
#include "classlib/win/Controls.h"

namespace classlib {

class TMainMenu : public TComponent {
 public:
  // The menu of `form`, shown once its window exists.
  TMainMenu(TComponent* AOwner, TForm* form);
  ~TMainMenu() override;

  TMenuItem* Items() const { return items_; }
  // Shows the bar's items (captions, enabled states) again.
  void Rebuild();
  HMENU Handle() const { return bar_; }

 private:
  bool FormMessage(TMessage& Message);
  // Brings the bar's captions and states up to date on the handle it has;
  // false when its columns changed (another count, a column that gained or
  // lost its items), which needs a new bar.
  bool RefreshInPlace();
  HMENU NewPopup(const TMenuItem& item);

  TForm* form_;
  TMenuItem* items_;
  HMENU bar_ = nullptr;
  std::map<HMENU, const TMenuItem*> popups_;
};

}  // namespace classlib
