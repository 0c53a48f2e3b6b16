// Worker threads over _beginthreadex, and their hand-over to the main thread.
#include "classlib/win/Thread.h"

#include <process.h>

#include <algorithm>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "classlib/win/Application.h"
#include "classlib/win/Messages.h"

namespace classlib {

namespace {
// Threads that still exist: a done message for a thread already destroyed is
// ignored.
std::mutex gLiveMutex;
std::vector<TThread*> gLive;

bool IsLive(TThread* t) {
  std::lock_guard<std::mutex> lock(gLiveMutex);
  return std::find(gLive.begin(), gLive.end(), t) != gLive.end();
}
}  // namespace

TThread::TThread(bool CreateSuspended) {
  Application();  // the window that synchronised calls go to exists from here
  {
    std::lock_guard<std::mutex> lock(gLiveMutex);
    gLive.push_back(this);
  }
  handle_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &id_));
  if (!CreateSuspended) Start();
}

TThread::~TThread() {
  {
    std::lock_guard<std::mutex> lock(gLiveMutex);
    gLive.erase(std::remove(gLive.begin(), gLive.end(), this), gLive.end());
  }
  if (handle_ == nullptr) return;
  if (GetCurrentThreadId() != id_) {
    if (!started_) {
      skipExecute_.store(true);
      started_ = true;
      ResumeThread(handle_);
    }
    Terminate();
    WaitFor();
  }
  CloseHandle(handle_);
}

void TThread::Start() {
  if (started_ || handle_ == nullptr) return;
  started_ = true;
  ResumeThread(handle_);
}

void TThread::WaitFor(bool paint) {
  if (handle_ == nullptr || !started_) return;
  if (GetCurrentThreadId() != Application().MainThreadId()) {
    WaitForSingleObject(handle_, INFINITE);
    return;
  }
  // A worker waiting in Synchronize waits in a message sent to this thread;
  // a peek runs the sent messages and takes none of those posted.
  while (MsgWaitForMultipleObjects(1, &handle_, FALSE, INFINITE, paint ? QS_SENDMESSAGE | QS_PAINT : QS_SENDMESSAGE) !=
         WAIT_OBJECT_0) {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    // A paint validates what it paints; a few rounds take every window due.
    for (int i = 0; paint && i < 64 && PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
      DispatchMessageA(&msg);
  }
}

void TThread::Queue(std::function<void()> method) {
  if (GetCurrentThreadId() == Application().MainThreadId()) {
    method();
    return;
  }
  // One message runs every call queued until it is handled; a post that
  // failed (a full message queue) is tried again by the next call.
  std::lock_guard<std::mutex> lock(queueMutex_);
  queued_.push_back(std::move(method));
  if (!queuePosted_)
    queuePosted_ = PostMessageA(Application().Handle(), kThreadQueueMessage, 0, reinterpret_cast<LPARAM>(this)) != 0;
}

void TThread::RunQueued() {
  std::vector<std::function<void()>> calls;
  {
    std::lock_guard<std::mutex> lock(queueMutex_);
    calls.swap(queued_);
    queuePosted_ = false;
  }
  for (auto& call : calls) {
    call();
    if (!IsLive(this)) return;
  }
}

bool TThread::Synchronize(const std::function<void()>& method) {
  if (GetCurrentThreadId() == Application().MainThreadId()) {
    method();
    return true;
  }
  HWND window = Application().Handle();
  if (window == nullptr) return false;
  return SendMessageA(window, kSynchronizeMessage, 0, reinterpret_cast<LPARAM>(&method)) == 1;
}

unsigned __stdcall TThread::ThreadProc(void* self) {
  auto* t = static_cast<TThread*>(self);
  if (!t->skipExecute_.load()) {
    try {
      t->Execute();
    } catch (...) {
      // An exception ends the thread; it never crosses the thread boundary.
    }
  }
  const bool freeSelf = t->FreeOnTerminate && !t->skipExecute_.load();
  t->finished_.store(true);
  if (t->skipExecute_.load()) return 0;
  // From here on `t` may be freed by the main thread at any moment.
  if (!PostMessageA(Application().Handle(), kThreadDoneMessage, 0, reinterpret_cast<LPARAM>(t)) && freeSelf)
    delete t;
  return 0;
}

void TThread::ThreadQueued(TThread* thread) {
  if (IsLive(thread)) thread->RunQueued();
}

void TThread::ThreadDone(TThread* thread) {
  if (!IsLive(thread)) return;
  if (thread->OnTerminate) {
    TNotifyEvent handler = thread->OnTerminate;
    try {
      handler(thread);
    } catch (const std::exception& e) {
      Application().HandleException(thread, e);
    } catch (...) {
      Application().HandleException(thread, std::runtime_error("Unknown error"));
    }
  }
  // The handler may have freed the thread itself.
  if (IsLive(thread) && thread->FreeOnTerminate) delete thread;
}

}  // namespace classlib
