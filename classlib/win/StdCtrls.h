// The standard controls, as thin wrappers over the system's: TLabel, TEdit,
// TMemo, TButton, TCheckBox, TRadioButton, TGroupBox, TListBox, TComboBox and TScrollBar, and the
// own-drawn TPanel. Each method sends one message to the window when it
// exists; what is set before the window is made is kept and applied when it
// is created (a window destroyed under its object is reported). Their
// notifications come back from the parent as named events.
#pragma once

#include "classlib/win/Win32.h"

#include <string>
#include <vector>

#include "classlib/win/Controls.h"

namespace classlib {

enum class TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

// The upper-cased letter after a single "&" in a caption, or 0 when none.
char AcceleratorOf(const std::string& caption);

// A static text. Its background is its parent's colour; Alt with its
// accelerator letter focuses FocusControl.
class TLabel : public TWinControl {
 public:
  explicit TLabel(TComponent* AOwner);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* value);
  // A text (a file's path) too long for the label shows its start and end
  // with "..." between, on one line, instead of wrapping out of sight. Set
  // before the window is made.
  bool PathEllipsis = false;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void ControlCommand(int NotifyCode) override;
  HBRUSH ControlColor(HDC dc) override;
  bool DialogChar(char Key) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TWinControl* focusControl_ = nullptr;
};

// What TEdit and TMemo share: the change event, length limit, read-only
// state, selection and the modified flag.
class TCustomEdit : public TWinControl {
 public:
  int MaxLength() const { return maxLength_; }
  // 0 is the system's limit.
  void SetMaxLength(int value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  void SelectAll();
  int SelStart() const;
  int SelLength() const;
  void SetSelection(int start, int length);
  bool Modified() const;
  void SetModified(bool value);
  void Clear() { SetText(""); }
  // Set before the window is made: the edit holds text in any script (pasted
  // or set), its Text and SetText in UTF-8.
  bool Utf8Text = false;

  // The text changed, by the user or the program.
  TNotifyEvent OnChange;

 protected:
  explicit TCustomEdit(TComponent* AOwner);
  virtual void Change() { Fire(OnChange, this); }
  void CreateParams(TCreateParams& Params) override;
  void WindowCreated() override;
  void ControlCommand(int NotifyCode) override;

 private:
  int maxLength_ = 0;
  bool readOnly_ = false;
};

class TEdit : public TCustomEdit {
 public:
  explicit TEdit(TComponent* AOwner);
};

enum class TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

// A multi-line edit. Lines are the text split at line breaks; a last empty
// line (after a final break) does not count. Tab moves on to the next
// control as in any field; Ctrl+Tab types a tab.
class TMemo : public TCustomEdit {
 public:
  explicit TMemo(TComponent* AOwner);
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  int LineCount() const { return static_cast<int>(Lines().size()); }
  void AddLine(const std::string& line);
  // Which scroll bars the memo has; set before its window is made.
  TScrollStyle ScrollBars = TScrollStyle::ssNone;

 protected:
  void CreateParams(TCreateParams& Params) override;
  LRESULT DialogCode(TMessage& Message) override;
  void KeyDown(int& Key, TShiftState Shift) override;
};

// A push button. A click sets the form's ModalResult to the button's (when
// not mrNone) and fires OnClick. The Default button takes Enter on its form,
// the Cancel button Escape.
class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* AOwner);
  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel = false;
  int ModalResult = mrNone;
  // Acts as a click by the user.
  void Click() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void ControlCommand(int NotifyCode) override;
  bool DialogKey(int Key) override;

 private:
  bool default_ = false;
};

// A check box or, with TRadioButton, one of a group of exclusive choices. The
// state is kept by the object: a click by the user toggles a check box, or
// checks a radio button and clears the other radio buttons on the same parent,
// and then fires OnClick; setting Checked from code fires nothing, so forms
// can copy values into their controls freely. Alt with the caption's
// accelerator letter acts as a click.
class TButtonControl : public TWinControl {
 public:
  bool Checked() const { return checked_; }
  void SetChecked(bool value);

 protected:
  TButtonControl(TComponent* AOwner, DWORD buttonStyle);
  void CreateParams(TCreateParams& Params) override;
  void WindowCreated() override;
  void ControlCommand(int NotifyCode) override;
  bool DialogChar(char Key) override;
  // The user's click: the new state, then OnClick.
  virtual void Toggle() = 0;

 private:
  DWORD buttonStyle_;
  bool checked_ = false;
};

class TCheckBox : public TButtonControl {
 public:
  explicit TCheckBox(TComponent* AOwner);

 protected:
  void Toggle() override;
};

// The arrow keys move the focus within a parent's radio buttons and choose
// the one they reach, as in the system's dialogs.
class TRadioButton : public TButtonControl {
 public:
  explicit TRadioButton(TComponent* AOwner);

 protected:
  void Toggle() override;
  void DoEnter() override;
};

// A captioned frame around other controls.
class TGroupBox : public TWinControl {
 public:
  explicit TGroupBox(TComponent* AOwner);

 protected:
  void CreateParams(TCreateParams& Params) override;
  // The system's group box leaves its inside to the parent, which clips it
  // out; it is filled here.
  bool EraseBackground(HDC dc) override;
};

// What TListBox and TComboBox share: the item list and the selected index.
// Indices outside the list are a broken invariant (reported; nothing done).
class TListControl : public TWinControl {
 public:
  int Count() const;
  std::string Item(int index) const;
  std::vector<std::string> Items() const;
  void SetItems(const std::vector<std::string>& items);
  // Adds at the end; gives the new item's index.
  int Add(const std::string& item);
  void Delete(int index);
  void Clear();
  // The index of the item equal to `item` (ignoring case), or -1.
  int IndexOf(const std::string& item) const;
  // The selected item, or -1 for none.
  int ItemIndex() const;
  void SetItemIndex(int index);

  // The control's own message numbers for the list operations.
  struct TListMessages {
    UINT addString, deleteString, resetContent, getCount, getText, getTextLen, getCurSel, setCurSel, findExact;
  };

 protected:
  TListControl(TComponent* AOwner, const TListMessages& messages);
  void WindowCreated() override;

 private:
  const TListMessages& messages_;
  std::vector<std::string> pending_;
  int pendingIndex_ = -1;
};

// A list of strings with one selected; a selection by the user fires OnClick.
class TListBox : public TListControl {
 public:
  explicit TListBox(TComponent* AOwner);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void ControlCommand(int NotifyCode) override;
};

enum class TComboBoxStyle : std::uint8_t { csDropDown, csDropDownList };

// An edit with a drop-down list. Typing or choosing fires OnChange, choosing
// also OnClick (an arrow key on the closed box chooses too); keys typed in
// the edit part reach OnKeyDown and OnKeyPress. OnCloseUp fires when the
// dropped list closes with its choice taken (a click on an item, Enter, F4),
// not when it is cancelled (Escape, a click elsewhere).
class TComboBox : public TListControl {
 public:
  explicit TComboBox(TComponent* AOwner);
  // Set before the window is made.
  TComboBoxStyle Style = TComboBoxStyle::csDropDown;
  // Items shown when the list drops down.
  int DropDownCount = 8;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  bool DroppedDown() const;

  TNotifyEvent OnChange;
  TNotifyEvent OnCloseUp;

 protected:
  virtual void Change() { Fire(OnChange, this); }
  void CreateParams(TCreateParams& Params) override;
  void WindowCreated() override;
  void ControlCommand(int NotifyCode) override;

 private:
  int DroppedHeight() const;
  // The list that is closing closes with its choice taken.
  bool chosen_ = false;
};

enum class TScrollBarKind : std::uint8_t { sbHorizontal, sbVertical };

// The system's scroll bar. Arrows step by SmallChange, the track by
// LargeChange, the thumb moves to where it is dragged; each change of
// Position fires OnChange.
class TScrollBar : public TWinControl {
 public:
  explicit TScrollBar(TComponent* AOwner);
  // Set before the window is made.
  TScrollBarKind Kind = TScrollBarKind::sbHorizontal;
  int SmallChange = 1;
  int LargeChange = 1;
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  // A range with max below min is taken as min..min; Position is kept in it.
  void SetRange(int min, int max);
  void SetMin(int value) { SetRange(value, max_); }
  void SetMax(int value) { SetRange(min_, value); }
  // Clamped to Min..Max; fires OnChange when the position changes.
  void SetPosition(int value);

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WindowCreated() override;
  void ControlScroll(int Code, int Position) override;
  HBRUSH ControlColor(HDC dc) override { return nullptr; }

 private:
  void Push();
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
};

enum class TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };

// A panel: a raised or lowered bevel, a border in its colour, a caption, and
// room for other controls inside the bevels.
class TPanel : public TCustomControl {
 public:
  explicit TPanel(TComponent* AOwner);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut value);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  void SetText(const std::string& value) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint(TCanvas& Canvas) override;
  TRect AlignRect() const override;

 private:
  void Changed();
  TBevelCut bevelOuter_ = TBevelCut::bvRaised;
  TBevelCut bevelInner_ = TBevelCut::bvNone;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  TAlignment alignment_ = TAlignment::taCenter;
};

}  // namespace classlib
