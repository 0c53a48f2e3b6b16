// TTabBarModel: the strip of trapezoid tabs, without its window. Each item is
// "label" or "label:text"; the tab shows the label (at most 30 characters)
// and picking it hands the owner the text (the whole item when it has no
// colon). Tabs are chosen by mouse, Space, the "&" letters and Alt+letter; a
// right click asks the owner to edit the items (the "Define Tabs" dialog).
// Only the first Max items are usable; tabs past Body scroll with a small
// scroll bar, which the Windows tabbar shows when ScrollBarVisible says so.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/controls/ControlBase.h"

namespace corvane {

// The label an item shows (before the first colon, at most 30 characters,
// without the "&" that marks its accelerator letter) and the text picking it hands on (after the first colon, else the whole).
std::string TabLabel(std::string_view item);
std::string TabPickText(std::string_view item);
// The upper-cased letter after the first single "&" of an item; 0 when none.
char TabAccelerator(std::string_view item);
// The frame caption of the "Define Tabs" dialog for a memo of n lines.
std::string TabDialogCaption(int lineCount);

class TTabBarModel {
 public:
  explicit TTabBarModel(TControlHost& host);

  // ---- Properties ------------------------------------------------------------
  const std::vector<std::string>& Items() const { return items_; }
  // Replaces the items; ItemIndex and the scroll position stay inside them.
  void SetItems(std::vector<std::string> items);
  int Count() const { return static_cast<int>(items_.size()); }
  int ItemIndex() const { return itemIndex_; }
  // Kept in -1..Count - 1; repaints and fires OnChange when it changes.
  void SetItemIndex(int index);
  int Max() const { return max_; }
  void SetMax(int n);
  int Margin() const { return margin_; }
  void SetMargin(int pixels);
  int TabStart() const { return margin_ + 12; }
  int Rtmargin() const { return rtmargin_; }
  void SetRtmargin(int pixels);
  int Barwidth() const { return barwidth_; }
  void SetBarwidth(int pixels);
  int Border() const { return border_; }
  void SetBorder(int pixels);
  int Body() const { return body_; }
  void SetBody(int pixels);
  TColor Backcolor() const { return backcolor_; }
  void SetBackcolor(TColor c);
  TColor Focus() const { return focus_; }
  void SetFocus(TColor c);
  TColor Unfocus() const { return unfocus_; }
  void SetUnfocus(TColor c);
  bool LockTab = false;
  classlib::TFont Font;

  // ---- Geometry --------------------------------------------------------------
  // Tabs usable and shown: the first min(Max, Count) items.
  int Usable() const;
  int FirstVisible() const { return firstVisible_; }
  int TabWidth(int i) const;
  // The left edge of tab i in client pixels.
  int TabLeft(int i) const;
  // The tab at x, or -1.
  int TabAt(int x) const;
  // True when not every usable tab fits in Body from the first one.
  bool ScrollBarVisible() const;
  int ScrollMax() const;
  // Scroll bar moved: the first visible tab becomes `position`, kept usable.
  void ScrollTo(int position);
  // Scrolls as little as needed for tab `index` to show whole; setting the
  // selection does it.
  void ScrollIntoView(int index);
  // The tab widths are measured again before they are next needed (call when
  // the font changed; new items do it themselves).
  void Remeasure() { measured_ = false; }

  // ---- Input -------------------------------------------------------------------
  void KeyPress(char ch);
  // Alt+letter: true when an item's "&" letter took it.
  bool DialogChar(char ch);
  // The "&" letters of the items (upper case), those DialogChar takes.
  std::string Accelerators() const;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  void MouseMove(TShiftState shift, int x, int y);
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  void FocusChanged(bool) { host_.InvalidateAll(); }

  void Paint(TCanvas& canvas);

  // ---- Events -------------------------------------------------------------------
  std::function<void(TTabBarModel&, const std::string& mac)> Onpick;
  std::function<void()> OnChange;
  // The right-click editor: gets the items, returns the new ones or nothing
  // when cancelled. The Windows tabbar runs the "Define Tabs" dialog here.
  std::function<std::optional<std::vector<std::string>>(const std::vector<std::string>&)> OnDefineTabs;

 private:
  void Measure(TCanvas& canvas) const;
  // Measures through a canvas of the host when the widths are stale.
  void EnsureMeasured() const;
  int EndOf(int i) const;  // right end of tab i from the first tab's left, 0 for i < 0
  void SelectByAccelerator(char upper, bool beepOnMiss, bool& found);
  void PaintTab(TCanvas& canvas, int i, int textHeight);

  TControlHost& host_;
  std::vector<std::string> items_;
  mutable std::vector<int> widths_;
  mutable bool measured_ = false;
  int itemIndex_ = -1;
  int max_ = 1;
  int margin_ = 16;
  int rtmargin_ = 16;
  int barwidth_ = 20;
  int border_ = 0;
  int body_ = 200;
  TColor backcolor_ = classlib::clBtnFace;
  TColor focus_ = classlib::clWhite;
  TColor unfocus_ = classlib::clSilver;
  int firstVisible_ = 0;
  bool pressed_ = false;
};

}  // namespace corvane
