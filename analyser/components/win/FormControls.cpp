// The page control, spin edit, date picker, search animation and row check
// boxes.
#include "analyser/components/win/FormControls.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace foldwick {

using classlib::TRect;

namespace {
constexpr int kAnimationTimer = 1;
constexpr int kAnimationFrames = 8;

void InitControls(DWORD classes) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, classes};
  InitCommonControlsEx(&icc);
}
}  // namespace

// ---- TPageControl ----

TPageControl::TPageControl(classlib::TComponent* AOwner) : classlib::TWinControl(AOwner) {
  InitControls(ICC_TAB_CLASSES);
  tabStop_ = true;
  SetBounds(0, 0, 300, 200);
}

void TPageControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = WC_TABCONTROLA;
  Params.SystemClass = true;
  Params.Style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP;
  Params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TPageControl::WindowCreated() {
  for (size_t i = 0; i < captions_.size(); ++i) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = captions_[i].data();
    SendMessageA(handle_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  if (active_ >= 0) SendMessageA(handle_, TCM_SETCURSEL, static_cast<WPARAM>(active_), 0);
  Realign();
}

classlib::TPage& TPageControl::AddPage(const std::string& caption) {
  auto* page = new classlib::TPage(this);
  page->SetColor(classlib::clBtnFace);
  page->SetVisible(pages_.empty());
  page->SetAlign(classlib::alClient);
  page->SetParent(this);
  pages_.push_back(page);
  captions_.push_back(caption);
  if (HandleAllocated()) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = captions_.back().data();
    SendMessageA(handle_, TCM_INSERTITEMA, captions_.size() - 1, reinterpret_cast<LPARAM>(&item));
    Realign();
  }
  if (active_ < 0) active_ = 0;
  return *page;
}

classlib::TPage& TPageControl::Pages(int index) const {
  CL_ASSERT(index >= 0 && index < PageCount());
  return *pages_.at(static_cast<size_t>(index));
}

const std::string& TPageControl::PageCaption(int index) const {
  CL_ASSERT(index >= 0 && index < PageCount());
  return captions_.at(static_cast<size_t>(index));
}

void TPageControl::SetActivePageIndex(int index) {
  if (!CL_CHECK(index >= 0 && index < PageCount())) return;
  pages_[static_cast<size_t>(index)]->Show();
  for (int i = 0; i < PageCount(); ++i)
    if (i != index) pages_[static_cast<size_t>(i)]->Hide();
  active_ = index;
  if (HandleAllocated() && SendMessageA(handle_, TCM_GETCURSEL, 0, 0) != index)
    SendMessageA(handle_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

namespace {
// The first window below `parent` that Tab stops at, depth first; null when
// none is shown.
HWND FirstTabStop(HWND parent) {
  for (HWND h = GetWindow(parent, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
    if (!IsWindowVisible(h) || !IsWindowEnabled(h)) continue;
    if (GetWindowLongA(h, GWL_STYLE) & WS_TABSTOP) return h;
    if (HWND inner = FirstTabStop(h)) return inner;
  }
  return nullptr;
}
}  // namespace

bool TPageControl::PageKey(int Key, classlib::TShiftState Shift) {
  if ((Shift & classlib::ssCtrl) == 0 || PageCount() == 0) return false;
  int step = 0;
  if (Key == VK_TAB) step = (Shift & classlib::ssShift) != 0 ? -1 : 1;
  if (Key == VK_NEXT) step = 1;
  if (Key == VK_PRIOR) step = -1;
  if (step == 0) return false;
  ChoosePage((active_ + step + PageCount()) % PageCount());
  return true;
}

void TPageControl::ChoosePage(int index) {
  const HWND focus = GetFocus();
  const bool onPage = HandleAllocated() && focus != nullptr && focus != handle_ && IsChild(handle_, focus);
  SetActivePageIndex(index);
  classlib::Fire(OnChange, this);
  if (onPage && HandleAllocated()) {
    HWND first = FirstTabStop(Pages(active_).Handle());
    ::SetFocus(first != nullptr ? first : handle_);
  }
}

std::string TPageControl::DialogChars() const {
  std::string letters;
  for (const std::string& caption : captions_)
    if (const char letter = classlib::AcceleratorOf(caption)) letters += letter;
  return letters;
}

bool TPageControl::DialogChar(char Key) {
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(Key)));
  for (int i = 0; i < PageCount(); ++i) {
    if (classlib::AcceleratorOf(captions_[static_cast<size_t>(i)]) != letter) continue;
    if (i != active_) ChoosePage(i);
    SetFocus();
    return true;
  }
  return TWinControl::DialogChar(Key);
}

bool TPageControl::Notify(NMHDR& header, LRESULT& result) {
  if (header.code != static_cast<UINT>(TCN_SELCHANGE)) return false;
  const int index = static_cast<int>(SendMessageA(handle_, TCM_GETCURSEL, 0, 0));
  if (index >= 0 && index < PageCount()) {
    SetActivePageIndex(index);
    classlib::Fire(OnChange, this);
  }
  result = 0;
  return true;
}

TRect TPageControl::AlignRect() const {
  TRect client = ClientRect();
  if (!HandleAllocated()) return client;
  RECT r = {client.Left, client.Top, client.Right, client.Bottom};
  SendMessageA(handle_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return {r.left, r.top, std::max(r.right, r.left), std::max(r.bottom, r.top)};
}

// ---- TSpinEdit ----

TSpinEdit::TSpinEdit(classlib::TComponent* AOwner) : classlib::TEdit(AOwner) {
  InitControls(ICC_UPDOWN_CLASS);
  SetText("0");
}

void TSpinEdit::WindowCreated() {
  TEdit::WindowCreated();
  // The arrows sit inside the edit's right edge and write the number into
  // the edit themselves; the window goes with the parent's.
  HWND arrows = CreateWindowExA(0, UPDOWN_CLASSA, "",
                                WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS |
                                    UDS_NOTHOUSANDS,
                                0, 0, 0, 0, GetParent(handle_), nullptr, GetModuleHandleA(nullptr), nullptr);
  if (arrows == nullptr) return;
  SendMessageA(arrows, UDM_SETRANGE32, static_cast<WPARAM>(MinValue), static_cast<LPARAM>(MaxValue));
  SendMessageA(arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(handle_), 0);
  SendMessageA(arrows, UDM_SETPOS32, 0, Value());
}

int TSpinEdit::Value() const {
  const std::string text = Text();
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str()) return MinValue;
  return static_cast<int>(std::clamp<long>(value, MinValue, MaxValue));
}

void TSpinEdit::SetValue(int value) { SetText(std::to_string(std::clamp(value, MinValue, MaxValue))); }

// ---- TDateTimePicker ----

TDateTimePicker::TDateTimePicker(classlib::TComponent* AOwner) : classlib::TWinControl(AOwner) {
  InitControls(ICC_DATE_CLASSES);
  tabStop_ = true;
  color_ = classlib::clWindow;
  GetLocalTime(&date_);
  SetBounds(0, 0, 110, 22);
}

void TDateTimePicker::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = DATETIMEPICK_CLASSA;
  Params.SystemClass = true;
  Params.Style |= DTS_SHORTDATEFORMAT | WS_TABSTOP;
}

void TDateTimePicker::WindowCreated() { SendMessageA(handle_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date_)); }

SYSTEMTIME TDateTimePicker::Date() const {
  SYSTEMTIME date = date_;
  if (HandleAllocated()) SendMessageA(handle_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
  date.wHour = date.wMinute = date.wSecond = date.wMilliseconds = 0;
  return date;
}

void TDateTimePicker::SetDate(const SYSTEMTIME& date) {
  date_ = date;
  if (HandleAllocated()) SendMessageA(handle_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date_));
}

// ---- TSearchAnimation ----

TSearchAnimation::TSearchAnimation(classlib::TComponent* AOwner) : classlib::TCustomControl(AOwner) {
  SetBounds(0, 0, 48, 24);
}

void TSearchAnimation::SetActive(bool value) {
  if (active_ == value) return;
  active_ = value;
  if (active_)
    StartTimer(kAnimationTimer, 120);
  else
    StopTimer(kAnimationTimer);
  frame_ = 0;
  Invalidate();
}

void TSearchAnimation::Timer(int Id) {
  if (Id != kAnimationTimer) return;
  frame_ = (frame_ + 1) % kAnimationFrames;
  Invalidate();
}

void TSearchAnimation::Paint(classlib::TCanvas& Canvas) {
  const TRect r = ClientRect();
  Canvas.Brush.Color = Color();
  Canvas.FillRect(r);
  // A sheet of paper with a magnifying glass passing over it.
  Canvas.Pen.Color = classlib::clGray;
  Canvas.Brush.Color = classlib::clWhite;
  const int top = std::max((r.Height() - 18) / 2, 0);
  Canvas.Rectangle({4, top, r.Width() - 4, top + 18});
  for (int y = top + 4; y < top + 16; y += 3) {
    Canvas.MoveTo(8, y);
    Canvas.LineTo(r.Width() - 8, y);
  }
  const int span = std::max(r.Width() - 24, 1);
  const int x = 4 + (frame_ < kAnimationFrames / 2 ? frame_ : kAnimationFrames - frame_) * span / (kAnimationFrames / 2);
  Canvas.Pen.Color = classlib::clNavy;
  Canvas.Brush.Color = classlib::clAqua;
  Canvas.Ellipse({x, top + 1, x + 12, top + 13});
  Canvas.MoveTo(x + 10, top + 11);
  Canvas.LineTo(x + 15, top + 17);
}

// ---- Row check boxes ----

bool ItemChecked(const classlib::TListView& list, const classlib::TListItem* item) {
  const int index = item != nullptr ? item->Index() : -1;
  if (index < 0) return false;
  const auto state = static_cast<UINT>(SendMessageA(list.Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(index),
                                                    LVIS_STATEIMAGEMASK));
  return (state >> 12) == 2;
}

void SetItemChecked(classlib::TListView& list, const classlib::TListItem* item, bool checked) {
  const int index = item != nullptr ? item->Index() : -1;
  if (index < 0) return;
  LVITEMA state = {};
  state.stateMask = LVIS_STATEIMAGEMASK;
  state.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  SendMessageA(list.Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
}

}  // namespace foldwick
