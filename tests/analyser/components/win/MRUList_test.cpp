// The recent-file list: its order, its menu items and its registry values.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analyser/components/win/MRUList.h"
#include "classlib/win/Registry.h"

namespace foldwick {
namespace {

const char kCompanyKey[] = "\\Software\\Brassel Software";
const char kAppKey[] = "\\Software\\Brassel Software\\Kestrum Professional";

std::vector<std::string> Captions(const classlib::TMenuItem& menu) {
  std::vector<std::string> captions;
  for (int i = 0; i < menu.Count(); ++i) captions.push_back(menu.Items(i)->Caption);
  return captions;
}

using Strings = std::vector<std::string>;

// The analyser's settings, with nothing stored between the tests.
class MRUListTest : public ::testing::Test {
 protected:
  void SetUp() override { classlib::TRegistry().DeleteKey(kCompanyKey); }
  void TearDown() override { classlib::TRegistry().DeleteKey(kCompanyKey); }
  static void Configure(TMRUFileList& list) {
    list.SetMaximum(6);
    list.RemoveOnClick = false;
    list.AutoSaveName = kAppKey;
    list.AutoSaveKey = "MRU Items";
  }
};

TEST_F(MRUListTest, MostRecentFirstWithinTheMaximum) {
  TMRUFileList list(nullptr);
  Configure(list);
  list.AutoSave = false;
  for (const char* p : {"C:\\1", "C:\\2", "C:\\3", "C:\\4", "C:\\5", "C:\\6"}) list.AddItem(p);
  list.AddItem("c:\\3");  // already there in other case: moves up with its stored text
  EXPECT_EQ(list.Items(), (Strings{"C:\\3", "C:\\6", "C:\\5", "C:\\4", "C:\\2", "C:\\1"}));
  list.AddItem("C:\\7");  // the seventh drops the oldest
  EXPECT_EQ(list.Items(), (Strings{"C:\\7", "C:\\3", "C:\\6", "C:\\5", "C:\\4", "C:\\2"}));
  list.SetMaximum(3);
  EXPECT_EQ(list.Items(), (Strings{"C:\\7", "C:\\3", "C:\\6"}));
  list.SetMaximum(10);
  EXPECT_EQ(list.Items().size(), 3u);
}

TEST_F(MRUListTest, NumberedItemsStandAboveTheMarkerOrInASubmenu) {
  classlib::TMenuItem file;
  auto add = [&](const char* caption) {
    auto* item = new classlib::TMenuItem;
    item->Caption = caption;
    file.Add(item);
    return item;
  };
  add("&Open...");
  classlib::TMenuItem* marker = add("-");
  add("E&xit");
  TMRUFileList list(nullptr);
  Configure(list);
  list.AutoSave = false;
  list.SetFileMenu(marker);
  EXPECT_EQ(Captions(file), (Strings{"&Open...", "-", "E&xit"}));  // nothing while empty
  list.AddItem("C:\\");
  list.AddItem("D:\\R&D");  // a "&" shows as itself, no letter
  EXPECT_EQ(Captions(file), (Strings{"&Open...", "-", "&1 D:\\R&&D", "&2 C:\\", "-", "E&xit"}));

  list.SetUseSubmenu(true);
  ASSERT_EQ(Captions(file), (Strings{"&Open...", "-", "Reopen", "-", "E&xit"}));
  EXPECT_EQ(Captions(*file.Items(2)), (Strings{"&1 D:\\R&&D", "&2 C:\\"}));
  list.SetSubmenuName("Recent");
  EXPECT_EQ(file.Items(2)->Caption, "Recent");

  // A marker with sub-items gets the list at their end.
  list.SetUseSubmenu(false);
  classlib::TMenuItem reopen;
  auto* first = new classlib::TMenuItem;
  first->Caption = "Fixed";
  reopen.Add(first);
  list.SetFileMenu(&reopen);
  EXPECT_EQ(Captions(file), (Strings{"&Open...", "-", "E&xit"}));  // removed from the old place
  EXPECT_EQ(Captions(reopen), (Strings{"Fixed", "-", "&1 D:\\R&&D", "&2 C:\\"}));
  list.SetFileMenu(nullptr);
}

TEST_F(MRUListTest, TheTenthCaptionAndClicks) {
  classlib::TMenuItem menu;
  auto* marker = new classlib::TMenuItem;
  marker->Caption = "-";
  menu.Add(marker);
  TMRUFileList list(nullptr);
  Configure(list);
  list.AutoSave = false;
  list.SetMaximum(12);
  list.SetFileMenu(marker);
  for (int i = 10; i >= 1; --i) list.AddItem("C:\\Folder" + std::to_string(i));
  EXPECT_EQ(menu.Items(10)->Caption, "&10 C:\\Folder10");

  std::vector<std::string> clicked;
  list.OnMRUItemClick = [&](classlib::TObject* sender, const std::string& path) {
    EXPECT_EQ(dynamic_cast<TMRUMenuItem*>(sender)->Number, 2);
    clicked.push_back(path);
  };
  menu.Items(2)->Click();
  EXPECT_EQ(clicked, Strings{"C:\\Folder2"});
  EXPECT_EQ(list.Items().size(), 10u);  // RemoveOnClick is off
  list.RemoveOnClick = true;
  menu.Items(2)->Click();
  EXPECT_EQ(list.Items().size(), 9u);
  EXPECT_EQ(list.Items()[1], "C:\\Folder3");
  EXPECT_EQ(menu.Items(2)->Caption, "&2 C:\\Folder3");
}

TEST_F(MRUListTest, KeptInTheRegistryInItsOwnOrder) {
  {
    TMRUFileList list(nullptr);
    Configure(list);
    list.Loaded();
    EXPECT_TRUE(list.Items().empty());
    list.AddItem("C:\\Old");
    list.AddItem("D:\\");
    list.AddItem("C:\\New");
  }  // written when destroyed
  classlib::TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(std::string(kAppKey) + "\\MRU Items", false));
  EXPECT_EQ(reg.ReadString("F0"), "C:\\New");
  EXPECT_EQ(reg.ReadString("F1"), "D:\\");
  EXPECT_EQ(reg.ReadString("F2"), "C:\\Old");

  // Values stored out of order, more of them than the maximum, and a stale one.
  reg.DeleteValue("F0");
  reg.DeleteValue("F1");
  reg.DeleteValue("F2");
  for (int i : {7, 3, 0, 6, 1, 5, 2, 4}) reg.WriteString("F" + std::to_string(i), "E:\\" + std::to_string(i));
  reg.CloseKey();
  {
    TMRUFileList list(nullptr);
    Configure(list);
    list.Loaded();
    EXPECT_EQ(list.Items(), (Strings{"E:\\0", "E:\\1", "E:\\2", "E:\\3", "E:\\4", "E:\\5", "E:\\6", "E:\\7"}));
    list.AddItem("E:\\3");  // the list is cut to the maximum only now
    EXPECT_EQ(list.Items(), (Strings{"E:\\3", "E:\\0", "E:\\1", "E:\\2", "E:\\4", "E:\\5"}));
  }
  ASSERT_TRUE(reg.OpenKey(std::string(kAppKey) + "\\MRU Items", false));
  EXPECT_EQ(reg.GetValueNames().size(), 6u);
  EXPECT_EQ(reg.ReadString("F0"), "E:\\3");
  EXPECT_FALSE(reg.ValueExists("F7"));
}

TEST_F(MRUListTest, NoStorageWithoutAKey) {
  {
    TMRUFileList list(nullptr);
    Configure(list);
    list.AutoSaveKey = "";
    list.AddItem("C:\\");
  }
  EXPECT_FALSE(classlib::TRegistry().KeyExists(std::string(kAppKey) + "\\MRU Items"));
}

}  // namespace
}  // namespace foldwick
