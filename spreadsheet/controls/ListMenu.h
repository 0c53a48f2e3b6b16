// TTabMenuModel: the list menu without its window. A vertical menu of text
// items with an optional title band, "&" letters, hover tracking (Float) and
// "+" marks on up to 21 items. The owner sizes it from Maxwidth and Maxheight
// and acts on OnEnterkey (a choice) and OnEsckey (a cancel).
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "spreadsheet/controls/ControlBase.h"

namespace corvane {

class TTabMenuModel {
 public:
  static constexpr int kItemHeight = 20;
  static constexpr int kMarks = 21;

  explicit TTabMenuModel(TControlHost& host);

  // ---- Properties ----------------------------------------------------------
  int Margin() const { return margin_; }
  void SetMargin(int pixels);
  int ItemIndex() const { return itemIndex_; }
  // Fires OnChange when it changes; the item's hint becomes the hint shown.
  void SetItemIndex(int i);
  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(std::vector<std::string> items);
  std::vector<std::string> Hints;
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  TColor Backcolor() const { return backcolor_; }
  void SetBackcolor(TColor c);
  bool Barfocus() const { return barfocus_; }
  void SetBarfocus(bool on);
  bool Noblue() const { return noblue_; }
  void SetNoblue(bool on);
  bool Float = false;
  bool Border = true;
  // The height of "Ay" in the control's font, measured by the window.
  void SetTextHeight(int pixels) { textHeight_ = pixels; }
  // The widest of the caption and the items, measured by the window.
  std::function<int(const std::string&)> MeasureText;

  // ---- Geometry ------------------------------------------------------------
  int Count() const { return static_cast<int>(items_.size()); }
  int TitleHeight() const { return caption_.empty() ? 0 : textHeight_ + 5; }
  int FirstItemTop() const { return margin_ + TitleHeight() + 1; }
  int Maxwidth() const;
  int Maxheight() const { return Count() * kItemHeight + FirstItemTop() + 32; }
  TRect ItemRect(int i) const;
  int ItemAt(int y) const;

  // ---- Marks ---------------------------------------------------------------
  void Mark(int i);
  void ClearMarks();
  bool Marked(int i) const { return i >= 0 && i < kMarks && marks_[i] != 0; }

  // ---- Input ---------------------------------------------------------------
  // True when the key was consumed.
  bool KeyDown(int key);
  void MouseDown(TMouseButton button, int x, int y);
  void MouseMove(int x, int y);
  void MouseUp(TMouseButton button, int x, int y);

  void Paint(TCanvas& canvas, bool focused);

  std::function<void()> OnEnterkey;
  std::function<void()> OnEsckey;
  std::function<void()> OnChange;
  // The hint to show changed.
  std::function<void(const std::string&)> OnHint;

 private:
  void Select(int i);
  void PaintItem(TCanvas& canvas, int i, bool focused);

  TControlHost& host_;
  int margin_ = 8;
  int itemIndex_ = -1;
  std::vector<std::string> items_;
  std::string accelerators_;
  std::string caption_;
  TColor backcolor_ = classlib::clBtnFace;
  bool barfocus_ = false, noblue_ = false;
  int textHeight_ = 13;
  std::array<char, kMarks> marks_{};
  bool pressed_ = false;
};

}  // namespace corvane
