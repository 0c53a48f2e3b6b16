// Ownership, free notifications and menu item trees.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Component.h"
#include "classlib/Menus.h"

namespace classlib {
namespace {

// Records its own destruction and the removals it hears of.
class TProbe : public TComponent {
 public:
  TProbe(TComponent* owner, std::vector<std::string>& log, std::string name) : TComponent(owner), log_(log) {
    Name = std::move(name);
  }
  ~TProbe() override { log_.push_back("~" + Name); }
  TComponent* watched = nullptr;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    if (op == TOperation::opRemove && c == watched) {
      log_.push_back(Name + " lost " + c->Name);
      watched = nullptr;
    }
  }

 private:
  std::vector<std::string>& log_;
};

TEST(ComponentOwnership, OwnerFreesItsComponentsLastFirstAndAChildFreedEarlyLeavesIt) {
  std::vector<std::string> log;
  auto* owner = new TProbe(nullptr, log, "form");
  auto* a = new TProbe(owner, log, "a");
  new TProbe(owner, log, "b");
  new TProbe(a, log, "a1");
  ASSERT_EQ(owner->ComponentCount(), 2);
  delete a;
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(log, (std::vector<std::string>{"~a", "~a1"}));
  log.clear();
  delete owner;
  EXPECT_EQ(log, (std::vector<std::string>{"~form", "~b"}));
}

TEST(ComponentOwnership, FreeNotificationClearsReferencesAcrossOwners) {
  std::vector<std::string> log;
  TProbe browser(nullptr, log, "browser");
  auto* images = new TProbe(nullptr, log, "images");
  browser.watched = images;
  browser.FreeNotification(images);
  delete images;
  EXPECT_EQ(browser.watched, nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"~images", "browser lost images"}));
}

TEST(MenuItems, InsertRemoveAndIndexesFollowThePosition) {
  TMenuItem root;
  auto* file = new TMenuItem;
  auto* exit = new TMenuItem;
  root.Add(file);
  root.Add(exit);
  auto* open = new TMenuItem;
  root.Insert(1, open);
  EXPECT_EQ(open->MenuIndex(), 1);
  EXPECT_EQ(exit->MenuIndex(), 2);
  root.Insert(99, new TMenuItem);  // clamped to the end
  EXPECT_EQ(root.Count(), 4);
  root.Remove(open);
  EXPECT_EQ(open->Parent(), nullptr);
  EXPECT_EQ(root.IndexOf(exit), 1);
  delete open;
  delete exit;  // leaves its parent
  EXPECT_EQ(root.Count(), 2);
}

TEST(MenuItems, CommandIdsAreFoundAtAnyDepthAndStayAbove32767) {
  TPopupMenu popup;
  auto* item = new TMenuItem;
  auto* sub = new TMenuItem;
  item->Add(sub);
  popup.Items()->Add(item);
  EXPECT_GE(item->Command(), 0x8000);
  EXPECT_NE(item->Command(), sub->Command());
  EXPECT_EQ(popup.Items()->Find(sub->Command()), sub);
  EXPECT_EQ(popup.Items()->Find(1), nullptr);
}

TEST(MenuItems, AHandlerMayFreeTheItemItRunsFor) {
  TMenuItem root;
  auto* item = new TMenuItem;
  root.Add(item);
  int clicks = 0;
  item->OnClick = [&](TObject* sender) {
    ++clicks;
    delete static_cast<TMenuItem*>(sender);
  };
  item->Click();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(root.Count(), 0);
  auto* disabled = new TMenuItem;
  root.Add(disabled);
  disabled->Enabled = false;
  disabled->OnClick = [&](TObject*) { ++clicks; };
  disabled->Click();
  EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace classlib
