// The shell browser under Wine against a prepared temporary folder: item id
// lists, folders and objects, enumeration, renaming and the context menu.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analyser/components/win/ShellBrowser.h"
#include "classlib/win/Application.h"
#include "classlib/win/Controls.h"
#include "classlib/win/Timer.h"
#include "tests/analyser/win/TestFolders.h"

namespace foldwick {
namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class ShellBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    classlib::Application();
    base = TestFolderPath("sbtest");
    RemoveTree(base);
    ASSERT_TRUE(CreateDirectoryA(base.c_str(), nullptr));
    CreateDirectoryA((base + "\\sub").c_str(), nullptr);
    CreateDirectoryA((base + "\\hidden").c_str(), nullptr);
    SetFileAttributesA((base + "\\hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    CreateSizedFile(base + "\\a.txt", 5);
    CreateSizedFile(base + "\\b.doc", 8);
  }
  void TearDown() override { RemoveTree(base); }

  std::string base;
  classlib::TForm form{nullptr, "browser test"};
};

TEST_F(ShellBrowserTest, PathsTurnIntoItemIdListsAndBack) {
  TIdList list = PathToPIDL(nullptr, base);
  ASSERT_TRUE(list);
  EXPECT_EQ(IdListPath(list.get()), base);
  TIdList copy = CopyIdList(list.get());
  EXPECT_EQ(IdListSize(copy.get()), IdListSize(list.get()));
  EXPECT_TRUE(SameIdList(copy.get(), list.get()));

  // The child's list relative to its folder, joined to the folder's list.
  classlib::TComPtr<IShellFolder> folder;
  ASSERT_TRUE(SUCCEEDED(DesktopFolder()->BindToObject(list.get(), nullptr, IID_IShellFolder, folder.PutVoid())));
  TIdList relative = PathToPIDL(folder.Get(), "a.txt");
  ASSERT_TRUE(relative);
  TIdList joined = ConcatPIDLs(list.get(), relative.get());
  EXPECT_EQ(IdListPath(joined.get()), base + "\\a.txt");
  EXPECT_EQ(IdListPath(ConcatPIDLs(nullptr, relative.get()).get()), IdListPath(relative.get()));

  EXPECT_FALSE(PathToPIDL(nullptr, base + "\\missing"));
  // Too long for a path: refused rather than cut to a different, shorter one.
  EXPECT_FALSE(PathToPIDL(nullptr, base + "\\" + std::string(300, 'x')));
  EXPECT_EQ(IdListSize(nullptr), 0u);
}

TEST_F(ShellBrowserTest, FoldersAndObjectNames) {
  TShellBrowser browser(&form);
  EXPECT_STREQ(browser.Version(), "1.0 beta 4");
  browser.SetFolder(base);
  EXPECT_EQ(browser.Folder(), base + "\\");
  ASSERT_NE(browser.ShellFolder(), nullptr);

  browser.SetObjectName("a.txt");
  EXPECT_EQ(browser.ObjectName(), "a.txt");
  EXPECT_FALSE(browser.IsFolder());
  EXPECT_GE(browser.IconNumber(), 0);

  browser.SetObjectName("sub\\");  // a trailing "\" is dropped
  EXPECT_EQ(browser.ObjectName(), "sub");
  EXPECT_EQ(browser.GetDisplayName(), "sub");
  EXPECT_TRUE(browser.IsFolder());
  EXPECT_TRUE(browser.EnterObject());
  EXPECT_EQ(browser.Folder(), base + "\\sub\\");
  EXPECT_EQ(browser.ObjectName(), "");
  EXPECT_TRUE(browser.MoveUp());
  EXPECT_EQ(browser.Folder(), base + "\\");
  EXPECT_EQ(browser.ObjectName(), "sub");

  // A full path is split into folder and name.
  browser.SetObjectName(base + "\\b.doc");
  EXPECT_EQ(browser.ObjectName(), "b.doc");

  // A drive root becomes the object of My Computer.
  browser.SetObjectName("C:\\");
  EXPECT_EQ(browser.Folder(), "");
  EXPECT_EQ(browser.ObjectName(), "C:\\");

  browser.SetObjectName("");
  EXPECT_EQ(browser.ObjectName(), "");
}

TEST_F(ShellBrowserTest, WhatCannotBeFoundRaisesWithItsMessage) {
  TShellBrowser browser(&form);
  const std::string missing = base + "\\no such folder at all in this place";
  try {
    browser.SetFolder(missing);
    FAIL() << "no error";
  } catch (const EShellBrowserError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot Find Folder: " + missing.substr(0, 40));
  }
  browser.SetFolder(base);
  try {
    browser.SetObjectName("nope.txt");
    FAIL() << "no error";
  } catch (const EShellBrowserError& e) {
    EXPECT_EQ(std::string(e.what()), "Error! Cannot find Object \"nope.txt\" in Folder \"" + base + "\\\"");
  }
}

TEST_F(ShellBrowserTest, NextObjectVisitsFilesFoldersAndHiddenOnes) {
  TShellBrowser browser(&form);
  browser.SetFolder(base);
  std::vector<std::string> names;
  while (browser.NextObject()) names.push_back(browser.ObjectName());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"a.txt", "b.doc", "hidden", "sub"}));
  // The enumeration starts again after its end.
  EXPECT_TRUE(browser.NextObject());
}

TEST_F(ShellBrowserTest, RenamingGivesTheObjectItsNewName) {
  TShellBrowser browser(&form);
  browser.SetFolder(base);
  browser.SetObjectName("a.txt");
  std::string name = "renamed.txt";
  browser.RenameObject(name);
  EXPECT_TRUE(Exists(base + "\\renamed.txt"));
  EXPECT_FALSE(Exists(base + "\\a.txt"));
  EXPECT_EQ(name.rfind("renamed", 0), 0u) << name;
  EXPECT_EQ(browser.ObjectName(), "renamed.txt");
}

TEST_F(ShellBrowserTest, VerbsNeedAnObjectAndUseUpMultiObjects) {
  TShellBrowser browser(&form);
  EXPECT_FALSE(browser.ExecuteVerb("open"));  // no folder, no object
  browser.SetFolder(base);
  EXPECT_FALSE(browser.ExecuteVerb("open"));  // no object
  browser.MultiObjects = {"a.txt", "missing.txt"};
  EXPECT_FALSE(browser.ExecuteVerb("no-such-verb"));
  EXPECT_TRUE(browser.MultiObjects.empty());
  EXPECT_EQ(browser.ObjectName(), "");  // the object is left as it was
}

TEST_F(ShellBrowserTest, ContextMenuRunsAChosenApplicationItemWithTheCopyAsSender) {
  TShellBrowser browser(&form);
  browser.SetFolder(base);
  browser.SetObjectName("sub");
  classlib::TPopupMenu popup(nullptr);
  auto* scan = new classlib::TMenuItem;
  scan->Caption = "&Scan";
  scan->Name = "Scan";
  std::string sender;
  scan->OnClick = [&](classlib::TObject* s) { sender = static_cast<classlib::TMenuItem*>(s)->Name; };
  popup.Items()->Add(scan);
  bool hintSeen = false;
  classlib::Application().OnHint = [&](classlib::TObject*) { hintSeen = true; };

  // While the menu is up: the last item (ours) is chosen with the keyboard;
  // should that not close the menu, the second timer ends it.
  classlib::TTimer choose(nullptr), cancel(nullptr);
  choose.SetInterval(300);
  choose.OnTimer = [&](classlib::TObject*) {
    choose.SetEnabled(false);
    PostMessageA(form.Handle(), WM_KEYDOWN, VK_END, 0);
    PostMessageA(form.Handle(), WM_KEYDOWN, VK_RETURN, 0);
  };
  cancel.SetInterval(5000);
  cancel.OnTimer = [&](classlib::TObject*) {
    cancel.SetEnabled(false);
    EndMenu();
  };
  std::string verb = browser.ShowContextMenu({100, 100}, &popup);
  EXPECT_EQ(verb, "");
  EXPECT_EQ(sender, "Scan2");
  ASSERT_TRUE(classlib::Application().OnHint);
  classlib::Application().OnHint(nullptr);
  EXPECT_TRUE(hintSeen);
  classlib::Application().OnHint = nullptr;
}

TEST_F(ShellBrowserTest, ImageListsShareTheSystemListsUntilTheyGo) {
  TShellBrowser browser(&form);
  auto* small = new classlib::TImageList(nullptr);
  browser.SetSmallImages(small);
  EXPECT_NE(small->Handle(), nullptr);
  EXPECT_TRUE(small->ShareImages);
  delete small;
  EXPECT_EQ(browser.SmallImages(), nullptr);
}

}  // namespace
}  // namespace foldwick
