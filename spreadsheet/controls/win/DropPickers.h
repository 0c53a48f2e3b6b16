// The drop-down pickers and the colour palette: Tclrbox (the palette of 56
// or 16 colours, over TClrboxModel), and the two flat panels that open a
// borderless pop-up above themselves: TCbox (a list of strings, in a tmlist)
// and Tclrcombo (a palette, in a tpopup). A pop-up closes on a choice, on a
// second press on its panel, when its list loses the focus, and on a left
// press anywhere else, which a mouse hook sees.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "classlib/win/StdCtrls.h"
#include "spreadsheet/controls/ColourPalette.h"
#include "spreadsheet/controls/win/OwnDrawnControl.h"

namespace corvane {

// A Tab stop: the arrows choose a neighbouring colour, the chosen cell
// framed while the palette has the focus.
class Tclrbox : public TKeyedModelWindow<TClrboxModel> {
 public:
  explicit Tclrbox(classlib::TComponent* AOwner);
  TColor value() const { return model_.value(); }
  void Setvalue(TColor c) { model_.Setvalue(c); }
  int Cindex() const { return model_.Cindex(); }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint(classlib::TCanvas& Canvas) override;
  LRESULT DialogCode(classlib::TMessage&) override { return DLGC_WANTARROWS; }
};

// A thread mouse hook that hides an open pop-up on a left press outside the
// given screen rectangles. Each picker class has one slot, so at most one
// hook per class is installed at a time; installing replaces the slot's
// earlier hook, and removing is safe at any time (also from the hook).
class TPopupMouseHook {
 public:
  enum Slot { kListSlot, kColourSlot, kSlotCount };
  explicit TPopupMouseHook(Slot slot) : slot_(slot) {}
  ~TPopupMouseHook() { Remove(); }
  TPopupMouseHook(const TPopupMouseHook&) = delete;
  TPopupMouseHook& operator=(const TPopupMouseHook&) = delete;

  void Install(std::vector<classlib::TRect> screenRects, std::function<void()> onOutside);
  void Remove();
  bool Installed() const;

 private:
  template <int S>
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(int code, WPARAM wParam, LPARAM lParam);

  Slot slot_;
  HHOOK hook_ = nullptr;
  std::vector<classlib::TRect> rects_;
  std::function<void()> onOutside_;
};

// The borderless pop-up window of the pickers: a top-level tool window that
// saves the bits under it, hidden until opened.
class TPickerPopup : public TOwnDrawnControl {
 public:
  explicit TPickerPopup(classlib::TComponent* AOwner);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint(classlib::TCanvas& Canvas) override;
};

class tmlist : public TPickerPopup {
 public:
  explicit tmlist(classlib::TComponent* AOwner);
  classlib::TListBox& List() { return list_; }

 private:
  classlib::TListBox list_{nullptr};
};

class tpopup : public TPickerPopup {
 public:
  explicit tpopup(classlib::TComponent* AOwner);
  Tclrbox& Palette() { return palette_; }
  const Tclrbox& Palette() const { return palette_; }

 private:
  Tclrbox palette_{nullptr};
};

// What the two drop-down panels share: the pressed look, the pop-up's
// opening above the panel and its one way of closing.
class TDropPanel : public TOwnDrawnControl {
 public:
  TDropPanel(classlib::TComponent* AOwner, TPickerPopup& popup, TPopupMouseHook::Slot slot);
  ~TDropPanel() override;
  bool DroppedDown() const;
  // Hides the pop-up and removes the hook; nothing when it is not open.
  void CloseUp();

  classlib::TNotifyEvent Onchange;

 protected:
  void MouseDown(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  void MouseUp(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  // Sizes the pop-up before it opens.
  virtual classlib::TSize PopupSize() = 0;
  // The screen rectangles a press may fall in without closing the pop-up.
  virtual std::vector<classlib::TRect> HookRects(const classlib::TRect& popup, const classlib::TRect& panel) = 0;
  virtual void Opened() {}
  // After a choice: closes, refocuses the owner window, paints what the
  // pop-up uncovered, then fires the click and Onchange.
  void Chosen();
  bool pressed_ = false;

 private:
  classlib::TRect ScreenRect() const;

  TPickerPopup& popup_;
  TPopupMouseHook hook_;
  HWND owner_ = nullptr;
};

class TCbox : public TDropPanel {
 public:
  explicit TCbox(classlib::TComponent* AOwner);
  tmlist& Popup() { return popup_; }

  std::vector<std::string> Items() const { return items_; }
  // With sorted, the items are kept in alphabetical order (ignoring case).
  void SetItems(const std::vector<std::string>& items);
  bool sorted() const { return sorted_; }
  void Setsorted(bool on);
  int Itemindex() const { return itemIndex_; }
  // Selects the item and shows its text as the caption.
  void SetItemindex(int index);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint(classlib::TCanvas& Canvas) override;
  classlib::TSize PopupSize() override;
  std::vector<classlib::TRect> HookRects(const classlib::TRect& popup, const classlib::TRect& panel) override;
  void Opened() override;

 private:
  void Choose(int index);

  tmlist popup_{nullptr};
  std::vector<std::string> items_;
  std::string caption_;
  int itemIndex_ = -1;
  bool sorted_ = false;
};

class Tclrcombo : public TDropPanel {
 public:
  static constexpr int kPaletteWidth = 169, kPaletteHeight = 49;
  explicit Tclrcombo(classlib::TComponent* AOwner);
  tpopup& Popup() { return popup_; }

  TColor Clr() const { return clr_; }
  void SetClr(TColor c);
  bool Big() const { return popup_.Palette().Model().Big(); }
  void SetBig(bool on) { popup_.Palette().Model().SetBig(on); }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint(classlib::TCanvas& Canvas) override;
  classlib::TSize PopupSize() override { return {kPaletteWidth, kPaletteHeight}; }
  std::vector<classlib::TRect> HookRects(const classlib::TRect& popup, const classlib::TRect& panel) override;

 private:
  tpopup popup_{nullptr};
  TColor clr_ = classlib::clWhite;
  std::string caption_;
};

}  // namespace corvane
