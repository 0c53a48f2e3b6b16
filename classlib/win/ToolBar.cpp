// The tool bar's buttons, clicks and hints.
#include "classlib/win/ToolBar.h"

#include <cstring>

#include "classlib/win/Application.h"

namespace classlib {

TToolBar::TToolBar(TComponent* AOwner) : TWinControl(AOwner) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  height_ = 26;
}

TToolBar::~TToolBar() {
  if (hookedParent_ != nullptr) hookedParent_->RemoveMessageHook(this);
}

void TToolBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = TOOLBARCLASSNAMEA;
  Params.SystemClass = true;
  Params.Style |= TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN;
  // Clicks come to the parent as commands that carry the button's id.
  if (parent_ != hookedParent_) {
    if (hookedParent_ != nullptr) hookedParent_->RemoveMessageHook(this);
    hookedParent_ = parent_;
    if (hookedParent_ != nullptr)
      hookedParent_->AddMessageHook(this, [this](TMessage& m) { return ParentMessage(m); });
  }
}

void TToolBar::WindowCreated() {
  TWinControl::WindowCreated();
  SendMessageA(handle_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  if (images_ != nullptr) SendMessageA(handle_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_->Handle()));
  for (size_t i = 0; i < buttons_.size(); ++i) InsertIntoWindow(i);
}

void TToolBar::SetImages(TImageList* images) {
  images_ = images;
  if (handle_ != nullptr)
    SendMessageA(handle_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images != nullptr ? images->Handle() : nullptr));
}

void TToolBar::InsertIntoWindow(size_t index) {
  const TButton& b = buttons_[index];
  TBBUTTON button = {};
  button.iBitmap = b.separator ? 6 : b.image;
  button.idCommand = b.separator ? 0 : CommandOf(index);
  button.fsState = static_cast<BYTE>((b.enabled ? TBSTATE_ENABLED : 0) | (b.down ? TBSTATE_CHECKED : 0));
  button.fsStyle = static_cast<BYTE>(b.separator ? BTNS_SEP : b.group > 0 ? BTNS_CHECKGROUP : b.group < 0 ? BTNS_CHECK : BTNS_BUTTON);
  SendMessageA(handle_, TB_INSERTBUTTONA, index, reinterpret_cast<LPARAM>(&button));
}

int TToolBar::AddButton(int image, const std::string& hint, TNotifyEvent onClick, int group) {
  buttons_.push_back({image, hint, std::move(onClick), group});
  if (handle_ != nullptr) InsertIntoWindow(buttons_.size() - 1);
  return static_cast<int>(buttons_.size() - 1);
}

void TToolBar::AddSeparator() {
  TButton separator{0, "", nullptr, 0};
  separator.separator = true;
  buttons_.push_back(separator);
  if (handle_ != nullptr) InsertIntoWindow(buttons_.size() - 1);
}

bool TToolBar::Down(int index) const {
  if (index < 0 || index >= static_cast<int>(buttons_.size())) return false;
  if (handle_ != nullptr) return SendMessageA(handle_, TB_ISBUTTONCHECKED, static_cast<WPARAM>(CommandOf(index)), 0) != 0;
  return buttons_[static_cast<size_t>(index)].down;
}

void TToolBar::SetDown(int index, bool down) {
  if (index < 0 || index >= static_cast<int>(buttons_.size())) return;
  buttons_[static_cast<size_t>(index)].down = down;
  if (handle_ != nullptr) SendMessageA(handle_, TB_CHECKBUTTON, static_cast<WPARAM>(CommandOf(index)), MAKELPARAM(down, 0));
}

void TToolBar::SetButtonEnabled(int index, bool enabled) {
  if (index < 0 || index >= static_cast<int>(buttons_.size())) return;
  buttons_[static_cast<size_t>(index)].enabled = enabled;
  if (handle_ != nullptr)
    SendMessageA(handle_, TB_ENABLEBUTTON, static_cast<WPARAM>(CommandOf(index)), MAKELPARAM(enabled, 0));
}

int TToolBar::ButtonsWidth() const {
  if (handle_ == nullptr || buttons_.empty()) return 0;
  RECT last = {};
  SendMessageA(handle_, TB_GETITEMRECT, buttons_.size() - 1, reinterpret_cast<LPARAM>(&last));
  return last.right;
}

bool TToolBar::ParentMessage(TMessage& Message) {
  if (Message.Msg != WM_COMMAND || handle_ == nullptr || reinterpret_cast<HWND>(Message.LParam) != handle_) return false;
  const int index = LOWORD(Message.WParam) - kFirstCommand;
  if (index < 0 || index >= static_cast<int>(buttons_.size())) return false;
  TButton& b = buttons_[static_cast<size_t>(index)];
  if (b.group != 0) b.down = Down(index);
  // A copy: the handler may change the buttons.
  TNotifyEvent handler = b.onClick;
  Fire(handler, this);
  return true;
}

bool TToolBar::Notify(NMHDR& header, LRESULT& result) {
  if (header.code == TBN_HOTITEMCHANGE) {
    // The button under the pointer shows its hint in the program's status
    // line; leaving the buttons clears it.
    const auto& hot = reinterpret_cast<const NMTBHOTITEM&>(header);
    const int index = hot.idNew - kFirstCommand;
    const bool over = (hot.dwFlags & HICF_LEAVING) == 0 && index >= 0 && index < static_cast<int>(buttons_.size());
    Application().SetHint(over ? buttons_[static_cast<size_t>(index)].hint : std::string());
    result = 0;
    return true;
  }
  if (header.code != TBN_GETINFOTIPA) return false;
  auto& tip = reinterpret_cast<NMTBGETINFOTIPA&>(header);
  const int index = tip.iItem - kFirstCommand;
  if (index < 0 || index >= static_cast<int>(buttons_.size()) || tip.pszText == nullptr || tip.cchTextMax <= 0) return true;
  const std::string& hint = buttons_[static_cast<size_t>(index)].hint;
  const size_t n = std::min(hint.size(), static_cast<size_t>(tip.cchTextMax - 1));
  std::memcpy(tip.pszText, hint.data(), n);
  tip.pszText[n] = '\0';
  return true;
}

}  // namespace classlib
