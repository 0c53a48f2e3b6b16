// The standard controls: creation parameters, one message per method, and
// the notifications turned into events.
#include "classlib/win/StdCtrls.h"

#include <algorithm>
#include <cctype>

#include "classlib/Drawing.h"

namespace classlib {

namespace {

LPARAM TextParam(const std::string& text) { return reinterpret_cast<LPARAM>(text.c_str()); }

}  // namespace

char AcceleratorOf(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
    ++i;  // "&&" is a plain ampersand
  }
  return 0;
}

// ---- TLabel ----

TLabel::TLabel(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 65, 13); }

void TLabel::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = "STATIC";
  Params.SystemClass = true;
  Params.Style |= SS_NOTIFY;
  switch (alignment_) {
    case TAlignment::taLeftJustify: Params.Style |= SS_LEFT; break;
    case TAlignment::taRightJustify: Params.Style |= SS_RIGHT; break;
    case TAlignment::taCenter: Params.Style |= SS_CENTER; break;
  }
  if (PathEllipsis) Params.Style |= SS_PATHELLIPSIS;
}

void TLabel::SetAlignment(TAlignment value) {
  alignment_ = value;
  if (!WindowReady()) return;
  const LONG align = value == TAlignment::taRightJustify ? SS_RIGHT : value == TAlignment::taCenter ? SS_CENTER : SS_LEFT;
  SetWindowLongA(handle_, GWL_STYLE, (GetWindowLongA(handle_, GWL_STYLE) & ~(SS_RIGHT | SS_CENTER)) | align);
  Invalidate();
}

void TLabel::SetFocusControl(TWinControl* value) {
  if (focusControl_ != nullptr) RemoveFreeNotification(focusControl_);
  focusControl_ = value;
  if (value != nullptr) FreeNotification(value);
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TLabel::ControlCommand(int NotifyCode) {
  if (NotifyCode == STN_CLICKED) Click();
  if (NotifyCode == STN_DBLCLK) DblClick();
}

HBRUSH TLabel::ControlColor(HDC dc) {
  // Drawn on its parent's background.
  if (parent_ != nullptr) color_ = parent_->Color();
  return TWinControl::ControlColor(dc);
}

bool TLabel::DialogChar(char Key) {
  if (focusControl_ == nullptr || !focusControl_->CanFocus()) return false;
  const char accelerator = AcceleratorOf(Text());
  if (accelerator == 0 || accelerator != std::toupper(static_cast<unsigned char>(Key))) return false;
  focusControl_->SetFocus();
  // The field's own window, or the edit inside a combo box, has the focus now.
  SelectEnteredText(GetFocus());
  return true;
}

// ---- TCustomEdit, TEdit, TMemo ----

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  color_ = clWindow;
  font_.Color = clWindowText;
  tabStop_ = true;
  SetBounds(0, 0, 121, 21);
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = "EDIT";
  Params.SystemClass = true;
  Params.Unicode = Utf8Text;
  Params.Style |= ES_AUTOHSCROLL;
  if (readOnly_) Params.Style |= ES_READONLY;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::WindowCreated() {
  if (maxLength_ > 0) Perform(EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::ControlCommand(int NotifyCode) {
  if (NotifyCode == EN_CHANGE) Change();
}

void TCustomEdit::SetMaxLength(int value) {
  maxLength_ = std::max(0, value);
  if (WindowReady()) Perform(EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SetReadOnly(bool value) {
  readOnly_ = value;
  if (WindowReady()) Perform(EM_SETREADONLY, value, 0);
}

void TCustomEdit::SelectAll() {
  if (WindowReady()) Perform(EM_SETSEL, 0, -1);
}

int TCustomEdit::SelStart() const {
  DWORD start = 0;
  if (WindowReady()) Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(start);
}

int TCustomEdit::SelLength() const {
  DWORD start = 0, end = 0;
  if (WindowReady()) Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TCustomEdit::SetSelection(int start, int length) {
  if (WindowReady()) Perform(EM_SETSEL, static_cast<WPARAM>(start), start + length);
}

bool TCustomEdit::Modified() const { return WindowReady() && Perform(EM_GETMODIFY, 0, 0) != 0; }

void TCustomEdit::SetModified(bool value) {
  if (WindowReady()) Perform(EM_SETMODIFY, value, 0);
}

TEdit::TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

TMemo::TMemo(TComponent* AOwner) : TCustomEdit(AOwner) { SetBounds(0, 0, 185, 89); }

void TMemo::CreateParams(TCreateParams& Params) {
  TCustomEdit::CreateParams(Params);
  Params.Style &= ~ES_AUTOHSCROLL;
  Params.Style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
  if (ScrollBars == TScrollStyle::ssVertical || ScrollBars == TScrollStyle::ssBoth) Params.Style |= WS_VSCROLL;
  if (ScrollBars == TScrollStyle::ssHorizontal || ScrollBars == TScrollStyle::ssBoth)
    Params.Style |= WS_HSCROLL | ES_AUTOHSCROLL;
}

LRESULT TMemo::DialogCode(TMessage& Message) {
  LRESULT code = TCustomEdit::DialogCode(Message);
  // A multi-line edit claims every key; Tab it leaves to the form.
  const auto* msg = reinterpret_cast<const MSG*>(Message.LParam);
  if (msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_TAB)
    code &= ~static_cast<LRESULT>(DLGC_WANTTAB | DLGC_WANTALLKEYS);
  return code;
}

void TMemo::KeyDown(int& Key, TShiftState Shift) {
  TCustomEdit::KeyDown(Key, Shift);
  if (Key == VK_TAB && (Shift & ssCtrl) != 0 && (Shift & ssAlt) == 0) {
    Perform(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("\t"));
    Key = 0;
  }
}

std::vector<std::string> TMemo::Lines() const {
  std::vector<std::string> lines;
  const std::string text = Text();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

void TMemo::SetLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  SetText(text);
}

void TMemo::AddLine(const std::string& line) {
  std::vector<std::string> lines = Lines();
  lines.push_back(line);
  SetLines(lines);
}

// ---- TButton, TGroupBox ----

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
  tabStop_ = true;
  SetBounds(0, 0, 75, 25);
}

void TButton::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = "BUTTON";
  Params.SystemClass = true;
  Params.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool value) {
  default_ = value;
  if (WindowReady()) Perform(BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
  if (ModalResult != mrNone)
    if (TForm* form = GetParentForm()) form->SetModalResult(ModalResult);
  TWinControl::Click();
}

void TButton::ControlCommand(int NotifyCode) {
  if (NotifyCode == BN_CLICKED) Click();
}

bool TButton::DialogKey(int Key) {
  const bool mine = Key == VK_RETURN ? (default_ || Focused()) : Key == VK_ESCAPE && Cancel;
  if (!mine || !Enabled()) return false;
  Click();
  return true;
}

// ---- TButtonControl, TCheckBox, TRadioButton ----

TButtonControl::TButtonControl(TComponent* AOwner, DWORD buttonStyle)
    : TWinControl(AOwner), buttonStyle_(buttonStyle) {
  tabStop_ = true;
  SetBounds(0, 0, 97, 17);
}

void TButtonControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = "BUTTON";
  Params.SystemClass = true;
  Params.Style |= buttonStyle_;
}

void TButtonControl::WindowCreated() {
  Perform(BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TButtonControl::SetChecked(bool value) {
  checked_ = value;
  if (WindowReady()) Perform(BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TButtonControl::ControlCommand(int NotifyCode) {
  if (NotifyCode == BN_CLICKED) Toggle();
}

bool TButtonControl::DialogChar(char Key) {
  const char accelerator = AcceleratorOf(Text());
  if (accelerator == 0 || accelerator != std::toupper(static_cast<unsigned char>(Key)) || !CanFocus()) return false;
  SetFocus();
  Toggle();
  return true;
}

TCheckBox::TCheckBox(TComponent* AOwner) : TButtonControl(AOwner, BS_CHECKBOX) {}

void TCheckBox::Toggle() {
  SetChecked(!Checked());
  Click();
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner, BS_RADIOBUTTON) {}

void TRadioButton::Toggle() {
  if (TWinControl* parent = Parent())
    for (int i = 0; i < parent->ControlCount(); ++i)
      if (auto* other = dynamic_cast<TRadioButton*>(parent->Controls(i)); other != nullptr && other != this)
        other->SetChecked(false);
  SetChecked(true);
  Click();
}

void TRadioButton::DoEnter() {
  // The focus came with an arrow key (the dialog manager moved it): this
  // button becomes the chosen one.
  const bool arrow = GetKeyState(VK_UP) < 0 || GetKeyState(VK_DOWN) < 0 || GetKeyState(VK_LEFT) < 0 ||
                     GetKeyState(VK_RIGHT) < 0;
  if (arrow && !Checked()) Toggle();
  TButtonControl::DoEnter();
}

TGroupBox::TGroupBox(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 185, 105); }

void TGroupBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = "BUTTON";
  Params.SystemClass = true;
  Params.Style |= BS_GROUPBOX;
  Params.ExStyle |= WS_EX_CONTROLPARENT;
}

bool TGroupBox::EraseBackground(HDC dc) {
  FillBackground(dc);
  return true;
}

// ---- TListControl, TListBox, TComboBox ----

TListControl::TListControl(TComponent* AOwner, const TListMessages& messages)
    : TWinControl(AOwner), messages_(messages) {
  color_ = clWindow;
  font_.Color = clWindowText;
  tabStop_ = true;
}

void TListControl::WindowCreated() {
  for (const std::string& item : pending_) Perform(messages_.addString, 0, TextParam(item));
  pending_.clear();
  if (pendingIndex_ >= 0) Perform(messages_.setCurSel, static_cast<WPARAM>(pendingIndex_), 0);
}

int TListControl::Count() const {
  if (!WindowReady()) return static_cast<int>(pending_.size());
  return static_cast<int>(Perform(messages_.getCount, 0, 0));
}

std::string TListControl::Item(int index) const {
  if (!CL_CHECK(index >= 0 && index < Count())) return {};
  if (!WindowReady()) return pending_[static_cast<size_t>(index)];
  const auto length = Perform(messages_.getTextLen, static_cast<WPARAM>(index), 0);
  std::string text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
  const auto got = Perform(messages_.getText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(std::max<LRESULT>(got, 0)));
  return text;
}

std::vector<std::string> TListControl::Items() const {
  std::vector<std::string> items;
  for (int i = 0, n = Count(); i < n; ++i) items.push_back(Item(i));
  return items;
}

void TListControl::SetItems(const std::vector<std::string>& items) {
  Clear();
  for (const std::string& item : items) Add(item);
}

int TListControl::Add(const std::string& item) {
  if (!WindowReady()) {
    pending_.push_back(item);
    return static_cast<int>(pending_.size()) - 1;
  }
  return static_cast<int>(Perform(messages_.addString, 0, TextParam(item)));
}

void TListControl::Delete(int index) {
  if (!CL_CHECK(index >= 0 && index < Count())) return;
  if (WindowReady())
    Perform(messages_.deleteString, static_cast<WPARAM>(index), 0);
  else
    pending_.erase(pending_.begin() + index);
}

void TListControl::Clear() {
  pending_.clear();
  pendingIndex_ = -1;
  if (WindowReady()) Perform(messages_.resetContent, 0, 0);
}

int TListControl::IndexOf(const std::string& item) const {
  if (!WindowReady()) {
    for (size_t i = 0; i < pending_.size(); ++i)
      if (lstrcmpiA(pending_[i].c_str(), item.c_str()) == 0) return static_cast<int>(i);
    return -1;
  }
  // The system's exact search goes on from the start, so a match may lie
  // before where it began; it ignores case, as this method does.
  const auto found = Perform(messages_.findExact, static_cast<WPARAM>(-1), TextParam(item));
  return found < 0 ? -1 : static_cast<int>(found);
}

int TListControl::ItemIndex() const {
  if (!WindowReady()) return pendingIndex_;
  const auto index = Perform(messages_.getCurSel, 0, 0);
  return index < 0 ? -1 : static_cast<int>(index);
}

void TListControl::SetItemIndex(int index) {
  if (!CL_CHECK(index >= -1 && index < Count())) return;
  pendingIndex_ = index;
  if (WindowReady()) Perform(messages_.setCurSel, static_cast<WPARAM>(index), 0);
}

namespace {
const TListControl::TListMessages kListBoxMessages = {LB_ADDSTRING, LB_DELETESTRING, LB_RESETCONTENT,
                                                      LB_GETCOUNT,  LB_GETTEXT,      LB_GETTEXTLEN,
                                                      LB_GETCURSEL, LB_SETCURSEL,    LB_FINDSTRINGEXACT};
const TListControl::TListMessages kComboBoxMessages = {CB_ADDSTRING, CB_DELETESTRING, CB_RESETCONTENT,
                                                       CB_GETCOUNT,  CB_GETLBTEXT,    CB_GETLBTEXTLEN,
                                                       CB_GETCURSEL, CB_SETCURSEL,    CB_FINDSTRINGEXACT};
}  // namespace

TListBox::TListBox(TComponent* AOwner) : TListControl(AOwner, kListBoxMessages) { SetBounds(0, 0, 121, 97); }

void TListBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = "LISTBOX";
  Params.SystemClass = true;
  Params.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::ControlCommand(int NotifyCode) {
  if (NotifyCode == LBN_SELCHANGE) Click();
  if (NotifyCode == LBN_DBLCLK) DblClick();
}

TComboBox::TComboBox(TComponent* AOwner) : TListControl(AOwner, kComboBoxMessages) { SetBounds(0, 0, 145, 21); }

int TComboBox::DroppedHeight() const { return std::max(1, DropDownCount) * 16 + 2; }

void TComboBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = "COMBOBOX";
  Params.SystemClass = true;
  Params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL |
                  (Style == TComboBoxStyle::csDropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
  // A combo box's window height includes its dropped list.
  Params.Height = height_ + DroppedHeight();
}

void TComboBox::WindowCreated() {
  TListControl::WindowCreated();
  COMBOBOXINFO info = {sizeof info};
  if (Style == TComboBoxStyle::csDropDown && GetComboBoxInfo(handle_, &info)) TieChildWindow(info.hwndItem);
}

void TComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (handle_ != nullptr)
    SetWindowPos(handle_, nullptr, left_, top_, width_, height_ + DroppedHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
  if (align_ != alNone && parent_ != nullptr) parent_->Realign();
}

bool TComboBox::DroppedDown() const { return WindowReady() && Perform(CB_GETDROPPEDSTATE, 0, 0) != 0; }

void TComboBox::ControlCommand(int NotifyCode) {
  if (NotifyCode == CBN_EDITCHANGE) Change();
  // The system reports how the list ends before it reports it closed.
  if (NotifyCode == CBN_SELENDOK || NotifyCode == CBN_SELENDCANCEL) chosen_ = NotifyCode == CBN_SELENDOK;
  if (NotifyCode == CBN_CLOSEUP) {
    const bool chosen = chosen_;
    chosen_ = false;
    if (chosen) Fire(OnCloseUp, this);
  }
  if (NotifyCode == CBN_SELCHANGE) {
    // The edit part shows the chosen item only after this notification; the
    // events see it already.
    if (int index = ItemIndex(); index >= 0) SetWindowTextA(handle_, Item(index).c_str());
    Click();
    Change();
  }
}

// ---- TScrollBar ----

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  tabStop_ = true;
  SetBounds(0, 0, 121, 16);
}

void TScrollBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = "SCROLLBAR";
  Params.SystemClass = true;
  Params.Style |= Kind == TScrollBarKind::sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::WindowCreated() { Push(); }

void TScrollBar::Push() {
  if (!WindowReady()) return;
  SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_POS};
  info.nMin = min_;
  info.nMax = max_;
  info.nPos = position_;
  SetScrollInfo(handle_, SB_CTL, &info, TRUE);
}

void TScrollBar::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  const int clamped = std::clamp(position_, min_, max_);
  Push();
  SetPosition(clamped);
}

void TScrollBar::SetPosition(int value) {
  value = std::clamp(value, min_, max_);
  if (value == position_) return;
  position_ = value;
  Push();
  Fire(OnChange, this);
}

void TScrollBar::ControlScroll(int Code, int Position) {
  switch (Code) {
    case SB_LINEUP: SetPosition(position_ - SmallChange); break;
    case SB_LINEDOWN: SetPosition(position_ + SmallChange); break;
    case SB_PAGEUP: SetPosition(position_ - LargeChange); break;
    case SB_PAGEDOWN: SetPosition(position_ + LargeChange); break;
    case SB_TOP: SetPosition(min_); break;
    case SB_BOTTOM: SetPosition(max_); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The message carries 16 bits of the position; the track position has all.
      SCROLLINFO info = {sizeof info, SIF_TRACKPOS};
      SetPosition(GetScrollInfo(handle_, SB_CTL, &info) ? info.nTrackPos : Position);
      break;
    }
    default: break;
  }
}

// ---- TPanel ----

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(0, 0, 185, 41); }

void TPanel::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.ClassName = "TPanel";
  Params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TPanel::Changed() {
  Invalidate();
  Realign();
}

void TPanel::SetBevelOuter(TBevelCut value) {
  bevelOuter_ = value;
  Changed();
}
void TPanel::SetBevelInner(TBevelCut value) {
  bevelInner_ = value;
  Changed();
}
void TPanel::SetBevelWidth(int value) {
  bevelWidth_ = std::max(1, value);
  Changed();
}
void TPanel::SetBorderWidth(int value) {
  borderWidth_ = std::max(0, value);
  Changed();
}
void TPanel::SetAlignment(TAlignment value) {
  alignment_ = value;
  Invalidate();
}

void TPanel::SetText(const std::string& value) {
  TCustomControl::SetText(value);
  Invalidate();
}

TRect TPanel::AlignRect() const {
  int inset = borderWidth_;
  if (bevelOuter_ != TBevelCut::bvNone) inset += bevelWidth_;
  if (bevelInner_ != TBevelCut::bvNone) inset += bevelWidth_;
  return ClientRect().Inflate(-inset, -inset);
}

void TPanel::Paint(TCanvas& Canvas) {
  auto bevel = [&](TRect& r, TBevelCut cut) {
    if (cut == TBevelCut::bvNone) return;
    const TColor light = cut == TBevelCut::bvRaised ? clBtnHighlight : cut == TBevelCut::bvLowered ? clBtnShadow : Color();
    const TColor dark = cut == TBevelCut::bvRaised ? clBtnShadow : cut == TBevelCut::bvLowered ? clBtnHighlight : Color();
    Frame3D(Canvas, r, light, dark, bevelWidth_);
  };
  TRect r = ClientRect();
  bevel(r, bevelOuter_);
  Frame3D(Canvas, r, Color(), Color(), borderWidth_);
  bevel(r, bevelInner_);
  Canvas.Brush.Color = Color();
  Canvas.Brush.Style = TBrushStyle::bsSolid;
  Canvas.FillRect(r);
  const std::string caption = Text();
  if (caption.empty()) return;
  Canvas.Brush.Style = TBrushStyle::bsClear;
  const TSize size = Canvas.TextExtent(caption);
  int x = r.Left + (r.Width() - size.cx) / 2;
  if (alignment_ == TAlignment::taLeftJustify) x = r.Left;
  if (alignment_ == TAlignment::taRightJustify) x = r.Right - size.cx;
  Canvas.TextRect(r, x, r.Top + (r.Height() - size.cy) / 2, caption);
}

}  // namespace classlib
