// The Windows half of the class library under Wine: threads, Synchronize and
// Queue, the tree view on a hidden form, the registry, timers and menu handles.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "classlib/win/Application.h"
#include "classlib/win/Controls.h"
#include "classlib/win/MenuHandle.h"
#include "classlib/win/Registry.h"
#include "classlib/win/Thread.h"
#include "classlib/win/Timer.h"
#include "classlib/win/TreeView.h"

namespace classlib {
namespace {

constexpr DWORD kWait = 20000;

class TRecordingThread : public TThread {
 public:
  TRecordingThread(bool* destroyed, std::function<void(TRecordingThread&)> work)
      : TThread(true), destroyed_(destroyed), work_(std::move(work)) {}
  ~TRecordingThread() override {
    if (destroyed_ != nullptr) *destroyed_ = true;
  }
  using TThread::Queue;
  using TThread::Synchronize;
  std::atomic<bool> ran{false};

 protected:
  void Execute() override {
    ran = true;
    if (work_) work_(*this);
  }

 private:
  bool* destroyed_;
  std::function<void(TRecordingThread&)> work_;
};

TEST(Threads, SynchronizeAndOnTerminateRunOnTheMainThreadThenTheThreadFreesItself) {
  const DWORD mainThread = GetCurrentThreadId();
  DWORD syncThread = 0, terminateThread = 0, workerThread = 0;
  bool destroyed = false;
  auto* thread = new TRecordingThread(&destroyed, [&](TRecordingThread& t) {
    workerThread = GetCurrentThreadId();
    EXPECT_TRUE(t.Synchronize([&] { syncThread = GetCurrentThreadId(); }));
  });
  thread->FreeOnTerminate = true;
  thread->OnTerminate = [&](TObject* sender) {
    terminateThread = GetCurrentThreadId();
    EXPECT_EQ(sender, thread);
  };
  EXPECT_FALSE(thread->ran);  // created suspended
  thread->Start();
  ASSERT_TRUE(ProcessMessagesUntil([&] { return destroyed; }, kWait));
  EXPECT_NE(workerThread, mainThread);
  EXPECT_EQ(syncThread, mainThread);
  EXPECT_EQ(terminateThread, mainThread);
}

TEST(Threads, TerminateAsksTheWorkToStop) {
  TRecordingThread thread(nullptr, [](TRecordingThread& t) {
    while (!t.Terminated()) Sleep(1);
  });
  int terminated = 0;
  thread.OnTerminate = [&](TObject*) { ++terminated; };
  thread.Start();
  ASSERT_TRUE(ProcessMessagesUntil([&] { return thread.ran.load(); }, kWait));
  thread.Terminate();
  thread.WaitFor();
  EXPECT_TRUE(thread.Finished());
  // Its OnTerminate was posted; it runs once messages are handled.
  ProcessMessagesUntil([&] { return terminated > 0; }, kWait);
  EXPECT_EQ(terminated, 1);
}

TEST(Threads, DestroyingARunningThreadWaitsForItWithoutItsOnTerminateOrTheUsersKeys) {
  // A character typed into a window while the thread is stopped waits for
  // the message loop: nothing the user does runs inside the destructor.
  TForm form(nullptr, "typed");
  std::string typed;
  form.OnKeyPress = [&](TObject*, char& key) { typed += key; };
  std::atomic<int> syncs{0};
  bool destroyed = false;
  int terminated = 0;
  {
    TRecordingThread thread(&destroyed, [&](TRecordingThread& t) {
      // Keeps synchronising until told to stop: the destructor must go on
      // running these while it waits.
      while (!t.Terminated()) t.Synchronize([&] { ++syncs; });
    });
    thread.OnTerminate = [&](TObject*) { ++terminated; };
    thread.Start();
    ASSERT_TRUE(ProcessMessagesUntil([&] { return syncs.load() > 3; }, kWait));
    PostMessageA(form.Handle(), WM_CHAR, 'k', 1);
  }
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(typed, "");
  Application().ProcessMessages();
  EXPECT_EQ(terminated, 0);
  EXPECT_EQ(typed, "k");

  bool neverRunDestroyed = false;
  auto* never = new TRecordingThread(&neverRunDestroyed, nullptr);
  delete never;  // never started: Execute does not run
  EXPECT_TRUE(neverRunDestroyed);
}

TEST(Threads, QueuedCallsRunInOrderOnTheMainThreadAndGoWithTheirThread) {
  const DWORD mainThread = GetCurrentThreadId();
  std::vector<int> ran;
  bool elsewhere = false;
  constexpr int kCalls = 200;
  TRecordingThread thread(nullptr, [&](TRecordingThread& t) {
    for (int i = 0; i < kCalls; ++i) t.Queue([&, i] {
      ran.push_back(i);
      elsewhere = elsewhere || GetCurrentThreadId() != mainThread;
    });
  });
  thread.Start();
  // The thread never waits for the window: its end comes with no message
  // handled, and its calls run when the owner takes them.
  thread.WaitFor();
  EXPECT_TRUE(ran.empty());
  thread.RunQueued();
  ASSERT_EQ(ran.size(), static_cast<size_t>(kCalls));
  for (int i = 0; i < kCalls; ++i) EXPECT_EQ(ran[static_cast<size_t>(i)], i);
  EXPECT_FALSE(elsewhere);
  Application().ProcessMessages();  // the message finds them run already
  EXPECT_EQ(ran.size(), static_cast<size_t>(kCalls));

  // Calls still queued when their thread goes never run; those queued
  // later by a live thread run from the message loop.
  {
    TRecordingThread gone(nullptr, [&](TRecordingThread& t) { t.Queue([&] { ran.push_back(-1); }); });
    gone.Start();
    gone.WaitFor();
  }
  TRecordingThread later(nullptr, [&](TRecordingThread& t) { t.Queue([&] { ran.push_back(kCalls); }); });
  later.Start();
  ASSERT_TRUE(ProcessMessagesUntil([&] { return ran.size() > static_cast<size_t>(kCalls); }, kWait));
  Application().ProcessMessages();
  EXPECT_EQ(ran.back(), kCalls);
  EXPECT_EQ(std::count(ran.begin(), ran.end(), -1), 0);
}

class TreeViewTest : public ::testing::Test {
 protected:
  TForm form{nullptr, "tree test"};
  TTreeView* tree = new TTreeView(&form, &form);
  std::vector<std::string> deleted;
  void SetUp() override {
    tree->OnDeletion = [this](TObject*, TTreeNode* node) { deleted.push_back(node->Text()); };
  }
};

TEST_F(TreeViewTest, NodesCarryTextDataLevelsAndState) {
  ASSERT_NE(tree->Handle(), nullptr);
  TTreeNode* root = tree->AddChild(nullptr, "root");
  TTreeNode* a = tree->AddChild(root, "a");
  TTreeNode* b = tree->AddChild(root, "b");
  TTreeNode* a1 = tree->AddChild(a, "a1");
  int slot = 7;
  a1->Data = &slot;
  EXPECT_EQ(a1->Parent(), a);
  EXPECT_EQ(a1->Level(), 2);
  EXPECT_EQ(root->Count(), 2);
  EXPECT_EQ(root->GetFirstChild()->GetNextSibling(), b);
  EXPECT_EQ(tree->GetFirstNode(), root);
  EXPECT_EQ(static_cast<int*>(a->GetFirstChild()->Data), &slot);
  a->SetText("renamed");
  EXPECT_EQ(a->Text(), "renamed");

  b->SetBold(true);
  b->SetStateIndex(7);
  EXPECT_TRUE(b->Bold());
  EXPECT_EQ(b->StateIndex(), 7);
  b->SetStateIndex(16);  // the control has four bits for it
  EXPECT_EQ(b->StateIndex(), 15);
  b->SetBold(false);
  EXPECT_FALSE(b->Bold());
  EXPECT_TRUE(b->StateIndex() == 15);

  EXPECT_FALSE(a1->IsVisible());
  root->Expand(false);
  EXPECT_TRUE(a->IsVisible());
  EXPECT_FALSE(a1->IsVisible());
  root->Expand(true);
  EXPECT_TRUE(a1->IsVisible());
  root->Collapse(true);
  EXPECT_FALSE(a->Expanded());
  tree->SetSelected(b);
  EXPECT_TRUE(b->Selected());
}

TEST_F(TreeViewTest, CustomSortUsesTheComparisonAndItsData) {
  TTreeNode* root = tree->AddChild(nullptr, "root");
  for (const char* name : {"b", "c", "a"}) tree->AddChild(root, name);
  auto byName = [](TTreeNode* x, TTreeNode* y, std::intptr_t descending) {
    int c = x->Text().compare(y->Text());
    return descending ? -c : c;
  };
  ASSERT_TRUE(root->CustomSort(byName, 1));
  std::string order;
  for (TTreeNode* n = root->GetFirstChild(); n != nullptr; n = n->GetNextSibling()) order += n->Text();
  EXPECT_EQ(order, "cba");
  tree->AddChild(nullptr, "another");
  ASSERT_TRUE(tree->CustomSort(byName, 0));
  EXPECT_EQ(tree->GetFirstNode()->Text(), "another");
}

TEST_F(TreeViewTest, DeletionTellsEachNodeChildrenFirstAndTheTreeFreesTheRest) {
  TTreeNode* root = tree->AddChild(nullptr, "root");
  TTreeNode* a = tree->AddChild(root, "a");
  tree->AddChild(a, "a1");
  tree->AddChild(a, "a2");
  tree->AddChild(root, "b");
  const LONG_PTR formProc = GetWindowLongPtrA(form.Handle(), GWLP_WNDPROC);
  a->Delete();
  EXPECT_EQ(deleted, (std::vector<std::string>{"a1", "a2", "a"}));
  EXPECT_EQ(root->Count(), 1);
  EXPECT_EQ(root->GetFirstChild()->Text(), "b");
  EXPECT_EQ(GetWindowLongPtrA(form.Handle(), GWLP_WNDPROC), formProc);  // the form has its own procedure back
  deleted.clear();
  root->DeleteChildren();
  EXPECT_EQ(deleted, (std::vector<std::string>{"b"}));
  tree->AddChild(root, "c");
  deleted.clear();
  delete tree;  // the form would do this too
  tree = nullptr;
  EXPECT_EQ(deleted, (std::vector<std::string>{"c", "root"}));
}

TEST(Registry, StringValuesUnderAbsoluteAndRelativeKeys) {
  TRegistry reg;
  const std::string base = "\\Software\\Corvane Tests\\classlib";
  reg.DeleteKey(base);
  ASSERT_FALSE(reg.OpenKey(base, false));
  ASSERT_TRUE(reg.OpenKey(base, true));
  ASSERT_TRUE(reg.OpenKey("Sub\\Deeper", true));  // relative to the open key
  EXPECT_EQ(reg.CurrentPath(), "Software\\Corvane Tests\\classlib\\Sub\\Deeper");
  EXPECT_TRUE(reg.WriteString("F0", "C:\\Temp"));
  EXPECT_TRUE(reg.WriteString("Empty", ""));
  EXPECT_TRUE(reg.ValueExists("F0"));
  EXPECT_EQ(reg.ReadString("F0"), "C:\\Temp");
  EXPECT_EQ(reg.ReadString("Empty"), "");
  EXPECT_EQ(reg.ReadString("Missing"), "");
  EXPECT_EQ(reg.GetValueNames().size(), 2u);
  EXPECT_TRUE(reg.DeleteValue("Empty"));
  EXPECT_FALSE(reg.ValueExists("Empty"));
  reg.CloseKey();
  EXPECT_TRUE(reg.KeyExists(base + "\\Sub\\Deeper"));
  EXPECT_TRUE(reg.DeleteKey(base));  // with its subkeys
  EXPECT_FALSE(reg.KeyExists(base + "\\Sub"));
  reg.DeleteKey("\\Software\\Corvane Tests");
}

TEST(Timers, FireThroughTheMessageLoopWhileEnabled) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = [&](TObject* sender) {
    EXPECT_EQ(sender, &timer);
    if (++ticks == 3) timer.SetEnabled(false);
  };
  timer.SetInterval(10);
  ASSERT_TRUE(ProcessMessagesUntil([&] { return ticks >= 3; }, kWait));
  EXPECT_FALSE(timer.Enabled());
  // Disabled: no further ticks however long messages are handled.
  for (int i = 0; i < 5; ++i) {
    Sleep(20);
    Application().ProcessMessages();
  }
  EXPECT_EQ(ticks, 3);
}

TEST(MenuHandles, ItemsSeparatorsAndSubmenusUnderTheirCommands) {
  TMenuItem root;
  auto* open = new TMenuItem;
  open->Caption = "&Open";
  open->Checked = true;
  auto* separator = new TMenuItem;
  separator->Caption = "-";
  auto* recent = new TMenuItem;
  recent->Caption = "Recent";
  auto* first = new TMenuItem;
  first->Caption = "&1 C:\\";
  recent->Add(first);
  root.Add(open);
  root.Add(separator);
  root.Add(recent);
  HMENU menu = CreatePopupHandle(root);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuItemCount(menu), 3);
  EXPECT_EQ(GetMenuItemID(menu, 0), open->Command());
  EXPECT_TRUE(GetMenuState(menu, 0, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_TRUE(GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR);
  HMENU sub = GetSubMenu(menu, 2);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(GetMenuItemID(sub, 0), first->Command());
  char caption[64] = "";
  GetMenuStringA(sub, 0, caption, sizeof caption, MF_BYPOSITION);
  EXPECT_STREQ(caption, "&1 C:\\");
  DestroyMenu(menu);
}

}  // namespace
}  // namespace classlib
