// The recent-file list, its menu items and its registry values "F0", "F1", ...
#include "analyser/components/win/MRUList.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>

#include "analyser/components/win/ShellBrowser.h"
#include "classlib/win/Registry.h"

namespace foldwick {

namespace {
bool EqualNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

// The entry number of a value name "F<n>", or -1.
int EntryNumber(const std::string& name) {
  if (name.size() < 2 || (name[0] != 'F' && name[0] != 'f')) return -1;
  if (!std::all_of(name.begin() + 1, name.end(), [](char c) { return c >= '0' && c <= '9'; }) || name.size() > 6) return -1;
  return std::atoi(name.c_str() + 1);
}
}  // namespace

TMRUFileList::TMRUFileList(classlib::TComponent* AOwner) : classlib::TComponent(AOwner) {}

TMRUFileList::~TMRUFileList() {
  if (!CanSave()) return;
  classlib::TRegistry registry;
  if (!registry.OpenKey(AutoSaveName, true) || !registry.OpenKey(AutoSaveKey, true)) return;
  // The new values first, then the ones left over: a failure halfway loses
  // nothing that was stored.
  for (size_t i = 0; i < items_.size(); ++i) registry.WriteUtf8String("F" + std::to_string(i), items_[i]);
  for (const std::string& name : registry.GetValueNames()) {
    int n = EntryNumber(name);
    if (n < 0 || static_cast<size_t>(n) >= items_.size() || name != "F" + std::to_string(n)) registry.DeleteValue(name);
  }
}

void TMRUFileList::Loaded() {
  if (CanSave()) {
    classlib::TRegistry registry;
    if (registry.OpenKey(AutoSaveName, false) && registry.OpenKey(AutoSaveKey, false)) {
      // In the order of the entry numbers, whatever order the registry lists
      // the values in.
      std::map<int, std::string> entries;
      for (const std::string& name : registry.GetValueNames())
        if (int n = EntryNumber(name); n >= 0) entries.emplace(n, registry.ReadUtf8String(name));
      items_.clear();
      for (auto& [n, path] : entries)
        if (!path.empty()) items_.push_back(path);
    }
  }
  RebuildMenu();
}

void TMRUFileList::AddItem(const std::string& path) {
  auto found = std::find_if(items_.begin(), items_.end(), [&](const std::string& s) { return EqualNoCase(s, path); });
  if (found != items_.end()) std::rotate(items_.begin(), found, found + 1);
  else items_.insert(items_.begin(), path);
  // A longer list read from the registry is cut here too.
  if (items_.size() > maximum_) items_.resize(maximum_);
  RebuildMenu();
}

void TMRUFileList::SetMaximum(std::uint8_t maximum) {
  const bool lower = maximum < maximum_;
  maximum_ = maximum;
  if (!lower) return;
  if (items_.size() > maximum_) items_.resize(maximum_);
  RebuildMenu();
}

void TMRUFileList::SetFileMenu(classlib::TMenuItem* item) {
  RemoveMenuItems();
  if (fileMenu_ != nullptr) RemoveFreeNotification(fileMenu_);
  fileMenu_ = item;
  if (item != nullptr) FreeNotification(item);
  RebuildMenu();
}

void TMRUFileList::SetUseSubmenu(bool use) {
  if (use == useSubmenu_) return;
  useSubmenu_ = use;
  RebuildMenu();
}

void TMRUFileList::SetSubmenuName(const std::string& name) {
  submenuName_ = name;
  if (useSubmenu_) RebuildMenu();
}

void TMRUFileList::Notification(classlib::TComponent* AComponent, classlib::TOperation Operation) {
  if (Operation == classlib::TOperation::opRemove && AComponent == fileMenu_) fileMenu_ = nullptr;
}

void TMRUFileList::RemoveMenuItems() {
  if (fileMenu_ == nullptr) return;
  classlib::TMenuItem* place = fileMenu_->Count() > 0 ? fileMenu_ : fileMenu_->Parent();
  if (place == nullptr) return;
  for (int i = place->Count() - 1; i >= 0; --i)
    if (dynamic_cast<TMRUMenuItem*>(place->Items(i)) != nullptr) place->Delete(i);
}

void TMRUFileList::RebuildMenu() {
  if (fileMenu_ == nullptr) return;
  RemoveMenuItems();
  if (items_.empty()) return;
  classlib::TMenuItem* target = fileMenu_;
  int position = fileMenu_->Count();
  if (fileMenu_->Count() == 0) {
    target = fileMenu_->Parent();
    if (target == nullptr) return;
    position = fileMenu_->MenuIndex();
  }
  auto* separator = new TMRUMenuItem(0);
  separator->Caption = "-";
  target->Insert(position++, separator);
  if (useSubmenu_) {
    auto* submenu = new TMRUMenuItem(0);
    submenu->Caption = submenuName_;
    target->Insert(position, submenu);
    target = submenu;
    position = 0;
  }
  for (size_t i = 0; i < items_.size(); ++i) {
    auto* item = new TMRUMenuItem(static_cast<int>(i + 1));
    // The entries are UTF-8; the menu shows ANSI text.
    item->Caption = "&" + std::to_string(i + 1) + " " + classlib::MenuText(AnsiFromUtf8(items_[i]));
    item->OnClick = [this](classlib::TObject* sender) { ItemClicked(sender); };
    target->Insert(position++, item);
  }
}

void TMRUFileList::ItemClicked(classlib::TObject* sender) {
  auto* item = dynamic_cast<TMRUMenuItem*>(sender);
  if (item == nullptr || item->Number < 1 || static_cast<size_t>(item->Number) > items_.size()) return;
  const std::string path = items_[static_cast<size_t>(item->Number - 1)];
  if (OnMRUItemClick) OnMRUItemClick(sender, path);
  // The handler may have changed the list; remove the entry by its path.
  if (RemoveOnClick) {
    auto found = std::find(items_.begin(), items_.end(), path);
    if (found != items_.end()) items_.erase(found);
    RebuildMenu();
  }
}

}  // namespace foldwick
