// The status bar's panels.
#include "classlib/win/StatusBar.h"

namespace classlib {

TStatusBar::TStatusBar(TComponent* AOwner) : TWinControl(AOwner) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  height_ = 20;
  align_ = alBottom;
}

void TStatusBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = STATUSCLASSNAMEA;
  Params.SystemClass = true;
  // The parent places the bar; the control must not move itself.
  Params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | SBARS_SIZEGRIP;
}

void TStatusBar::WindowCreated() {
  TWinControl::WindowCreated();
  ApplyParts();
}

void TStatusBar::Resize() {
  ApplyParts();
  TWinControl::Resize();
}

void TStatusBar::SetPanelWidths(const std::vector<int>& widths) {
  widths_ = widths;
  texts_.resize(widths.size());
  ApplyParts();
}

void TStatusBar::ApplyParts() {
  if (handle_ == nullptr || widths_.empty()) return;
  std::vector<int> edges;
  int right = 0;
  for (size_t i = 0; i < widths_.size(); ++i) {
    right += widths_[i];
    edges.push_back(i + 1 == widths_.size() ? -1 : right);
  }
  SendMessageA(handle_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (size_t i = 0; i < texts_.size(); ++i)
    SendMessageA(handle_, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(texts_[i].c_str()));
}

void TStatusBar::SetPanelText(int index, const std::string& text) {
  if (index < 0 || index >= PanelCount() || texts_[static_cast<size_t>(index)] == text) return;
  texts_[static_cast<size_t>(index)] = text;
  if (handle_ != nullptr) SendMessageA(handle_, SB_SETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
}

std::string TStatusBar::PanelText(int index) const {
  return index >= 0 && index < PanelCount() ? texts_[static_cast<size_t>(index)] : std::string();
}

}  // namespace classlib
