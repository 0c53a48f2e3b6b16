// TMRUFileList: the recently used paths, most recent first, shown as numbered
// items in an application menu and kept in the registry between runs. The
// paths are UTF-8, stored as wide registry strings.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "classlib/Component.h"
#include "classlib/Menus.h"

namespace foldwick {

// A menu item made by the list: it carries its entry's 1-based number (0 for
// the separator and the submenu item).
class TMRUMenuItem : public classlib::TMenuItem {
 public:
  explicit TMRUMenuItem(int number) : classlib::TMenuItem(nullptr), Number(number) {}
  int Number;
};

using TMRUClick = std::function<void(classlib::TObject* Sender, const std::string& AFilename)>;

class TMRUFileList : public classlib::TComponent {
 public:
  explicit TMRUFileList(classlib::TComponent* AOwner);
  // Writes the list to the registry (with AutoSave).
  ~TMRUFileList() override;
  // Reads the list from the registry (with AutoSave) and builds the menu.
  void Loaded() override;

  // Moves a path already in the list (any case) to the top, else inserts it
  // there; then drops entries beyond Maximum.
  void AddItem(const std::string& path);
  const std::vector<std::string>& Items() const { return items_; }

  std::uint8_t Maximum() const { return maximum_; }
  // A lower maximum drops the entries beyond it.
  void SetMaximum(std::uint8_t maximum);
  classlib::TMenuItem* FileMenu() const { return fileMenu_; }
  // The list is shown at the end of this item's sub-items, or, when it has
  // none, just above it in its parent.
  void SetFileMenu(classlib::TMenuItem* item);
  bool UseSubmenu() const { return useSubmenu_; }
  void SetUseSubmenu(bool use);
  const std::string& SubmenuName() const { return submenuName_; }
  void SetSubmenuName(const std::string& name);

  bool RemoveOnClick = true;
  bool AutoSave = true;
  std::string AutoSaveName = "\\Software\\My Application";
  std::string AutoSaveKey = "MRU Items";
  TMRUClick OnMRUItemClick;

 protected:
  void Notification(classlib::TComponent* AComponent, classlib::TOperation Operation) override;

 private:
  void RebuildMenu();
  void RemoveMenuItems();
  void ItemClicked(classlib::TObject* sender);
  bool CanSave() const { return AutoSave && !AutoSaveName.empty() && !AutoSaveKey.empty(); }

  std::uint8_t maximum_ = 5;
  bool useSubmenu_ = false;
  std::string submenuName_ = "Reopen";
  classlib::TMenuItem* fileMenu_ = nullptr;
  std::vector<std::string> items_;
};

}  // namespace foldwick
