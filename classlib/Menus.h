// Menu items and pop-up menus as plain objects: captions, shortcuts, tags, click
// handlers and sub-items. The Windows part (win/MenuHandle.h) turns them into
// menu handles; each item carries the command id it is shown under.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/Component.h"

namespace classlib {

// One menu entry. A caption of "-" is a separator. An item owns its sub-items
// and frees them with itself; an item destroyed first leaves its parent.
class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* AOwner = nullptr);
  ~TMenuItem() override;

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  TMenuItem* Parent() const { return parent_; }
  // The item's position in its parent, -1 without a parent.
  int MenuIndex() const;
  int IndexOf(const TMenuItem* item) const;

  // Takes ownership of `item` and places it at `index` (clamped to 0..Count).
  void Insert(int index, TMenuItem* item);
  void Add(TMenuItem* item) { Insert(Count(), item); }
  // Detaches `item` without freeing it; the caller owns it again.
  void Remove(TMenuItem* item);
  // Frees the sub-item at `index`.
  void Delete(int index);

  // Runs OnClick with this item as sender. The handler may free the item.
  void Click();
  // The command id this item is shown under in a menu handle (32768 and up,
  // so that ids below stay free for menus merged in from elsewhere).
  std::uint16_t Command() const { return command_; }
  // This item or a sub-item at any depth with the given command id, or null.
  TMenuItem* Find(std::uint16_t command);

  std::string Caption;
  // The text shown in the program's status line while the item is selected.
  std::string Hint;
  std::uint16_t ShortCut = 0;
  bool Checked = false;
  bool Enabled = true;
  TNotifyEvent OnClick;

 private:
  TMenuItem* parent_ = nullptr;
  std::vector<TMenuItem*> items_;
  std::uint16_t command_;
};

// A new item like `source`: caption, hint, shortcut, tag, check and enabled
// state and click handler, named like it with `nameSuffix` appended, with
// copies of its sub-items down to `depth` levels (-1: all of them). A
// handler reading the sender's tag reads the same value from the copy.
TMenuItem* CopyMenuItem(const TMenuItem& source, const std::string& nameSuffix, int depth = -1);

// Text (a file name) as part of a caption that shows it as it is: each "&"
// doubled, so that it shows and chooses nothing.
std::string MenuText(const std::string& text);

// A pop-up menu: a component that owns a root item whose sub-items are shown.
class TPopupMenu : public TComponent {
 public:
  explicit TPopupMenu(TComponent* AOwner = nullptr);
  ~TPopupMenu() override;
  TMenuItem* Items() const { return items_; }

 private:
  TMenuItem* items_;
};

}  // namespace classlib
