// TOwnerDrawnList: a standard list box or combo box whose fixed-height items
// the program draws. The system asks the control's parent to draw each item
// (WM_DRAWITEM); the control hears that through a hook on its parent and
// hands the item to OnDrawItem with a canvas on the item's DC.
#pragma once

#include <functional>
#include <type_traits>

#include "classlib/win/GdiCanvas.h"
#include "classlib/win/StdCtrls.h"

namespace corvane {

struct TDrawnItem {
  classlib::TCanvas& Canvas;
  int Index;
  classlib::TRect Rect;
  bool Selected;
  bool Focused;
};

template <class Base>
class TOwnerDrawnList : public Base {
  static constexpr bool kCombo = std::is_base_of_v<classlib::TComboBox, Base>;

 public:
  explicit TOwnerDrawnList(classlib::TComponent* AOwner) : Base(AOwner) {}
  ~TOwnerDrawnList() override { Unhook(); }

  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int pixels) {
    itemHeight_ = pixels;
    if (!this->HandleAllocated()) return;
    this->Perform(kCombo ? CB_SETITEMHEIGHT : LB_SETITEMHEIGHT, 0, pixels);
    // The combo box's selection field takes the items' height too.
    if constexpr (kCombo) this->Perform(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), pixels);
    this->Invalidate();
  }

  std::function<void(const TDrawnItem&)> OnDrawItem;

 protected:
  using typename Base::TCreateParams;
  void CreateParams(TCreateParams& Params) override {
    Base::CreateParams(Params);
    Params.Style |= kCombo ? (CBS_OWNERDRAWFIXED | CBS_HASSTRINGS) : (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS);
    // Drawing reaches the parent, whose messages are heard from now on.
    if (this->Parent() == hooked_) return;
    Unhook();
    hooked_ = this->Parent();
    if (hooked_ != nullptr) hooked_->AddMessageHook(this, [this](classlib::TMessage& m) { return ParentMessage(m); });
  }
  void WindowCreated() override {
    Base::WindowCreated();
    SetItemHeight(itemHeight_);
  }

 private:
  void Unhook() {
    if (hooked_ != nullptr) hooked_->RemoveMessageHook(this);
    hooked_ = nullptr;
  }
  bool ParentMessage(classlib::TMessage& m) {
    if (m.Msg != WM_DRAWITEM || !this->HandleAllocated()) return false;
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
    if (draw->hwndItem != this->Handle()) return false;
    if (static_cast<int>(draw->itemID) >= 0 && OnDrawItem) {
      classlib::TGdiCanvas canvas(draw->hDC);
      canvas.Font = this->Font();
      const RECT& r = draw->rcItem;
      OnDrawItem({canvas, static_cast<int>(draw->itemID), {r.left, r.top, r.right, r.bottom},
                  (draw->itemState & ODS_SELECTED) != 0, (draw->itemState & ODS_FOCUS) != 0});
    }
    m.Result = TRUE;
    return true;
  }

  classlib::TWinControl* hooked_ = nullptr;
  int itemHeight_ = 16;
};

}  // namespace corvane
