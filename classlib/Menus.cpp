// Menu item trees and their command ids.
#include "classlib/Menus.h"

#include <algorithm>
#include <atomic>

namespace classlib {

namespace {
// Ids from 32768 to 65535, handed out in turn; an id is reused only after
// 32768 further items, long after any menu that showed the first is gone.
std::uint16_t NextCommand() {
  static std::atomic<unsigned> next{0};
  return static_cast<std::uint16_t>(0x8000u | (next.fetch_add(1) & 0x7FFFu));
}
}  // namespace

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), command_(NextCommand()) {}

TMenuItem::~TMenuItem() {
  while (!items_.empty()) delete items_.back();
  if (parent_ != nullptr) parent_->Remove(this);
}

int TMenuItem::MenuIndex() const { return parent_ != nullptr ? parent_->IndexOf(this) : -1; }

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (item == nullptr || item == this) return;
  if (item->parent_ != nullptr) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
}

void TMenuItem::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  delete items_[static_cast<size_t>(index)];
}

void TMenuItem::Click() {
  if (!Enabled || !OnClick) return;
  // A copy, so that a handler that frees this item still runs to its end.
  TNotifyEvent handler = OnClick;
  handler(this);
}

TMenuItem* TMenuItem::Find(std::uint16_t command) {
  if (command_ == command) return this;
  for (TMenuItem* item : items_)
    if (TMenuItem* found = item->Find(command)) return found;
  return nullptr;
}

std::string MenuText(const std::string& text) {
  std::string shown;
  for (char c : text) {
    if (c == '&') shown += '&';
    shown += c;
  }
  return shown;
}

TMenuItem* CopyMenuItem(const TMenuItem& source, const std::string& nameSuffix, int depth) {
  auto* copy = new TMenuItem(nullptr);
  copy->Caption = source.Caption;
  copy->Hint = source.Hint;
  copy->ShortCut = source.ShortCut;
  copy->Tag = source.Tag;
  copy->Checked = source.Checked;
  copy->Enabled = source.Enabled;
  copy->OnClick = source.OnClick;
  copy->Name = source.Name + nameSuffix;
  if (depth != 0)
    for (int i = 0; i < source.Count(); ++i) copy->Add(CopyMenuItem(*source.Items(i), nameSuffix, depth - 1));
  return copy;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner), items_(new TMenuItem(nullptr)) {}

TPopupMenu::~TPopupMenu() { delete items_; }

}  // namespace classlib
