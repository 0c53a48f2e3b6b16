// TThread: a worker thread created suspended, with a cooperative stop request,
// OnTerminate run on the main thread, optional self-freeing, Synchronize,
// which runs a call on the main thread through the application window and
// waits for it, and Queue, which hands a call over without waiting.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

#include "classlib/Component.h"

namespace classlib {

class TThread : public TObject {
 public:
  // Construct on the main thread. With CreateSuspended the thread waits for
  // Start; otherwise it starts at once.
  explicit TThread(bool CreateSuspended);
  // Destroying a running thread asks it to stop and waits for it as WaitFor
  // does; its OnTerminate and the calls it queued then do not run.
  ~TThread() override;
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  // Starts a suspended thread; later calls do nothing.
  void Start();
  // Asks Execute to return; Execute polls Terminated().
  void Terminate() { terminated_.store(true); }
  bool Terminated() const { return terminated_.load(); }
  // Execute has returned.
  bool Finished() const { return finished_.load(); }
  // Main thread: waits for the thread to end. Meanwhile it runs the calls
  // that workers synchronise (so that a thread waiting in Synchronize can
  // end) and nothing else: keys, clicks, timers, queued calls and the ends of
  // threads stay in the queue for the message loop, so nothing the user does
  // runs in the middle of the caller's work. With `paint`, windows that need
  // painting are painted too, for a wait of seconds the user watches. Not
  // for FreeOnTerminate threads, which may be freed while waiting.
  void WaitFor(bool paint = false);
  // Main thread: runs now, in order, the calls the thread has queued so far
  // (after WaitFor, say, to take a finished thread's last hand-over without
  // handling messages). A call that destroys the thread, or throws, ends the
  // run.
  void RunQueued();
  DWORD ThreadID() const { return id_; }

  // Frees the object on the main thread right after OnTerminate.
  bool FreeOnTerminate = false;
  // Runs on the main thread once Execute has returned.
  TNotifyEvent OnTerminate;

 protected:
  // The thread's work. Exceptions are caught and end the thread.
  virtual void Execute() = 0;
  // Runs `method` on the main thread and waits for it. False when it could not
  // run (no application window any more). Called from the main thread itself,
  // it runs at once.
  bool Synchronize(const std::function<void()>& method);
  // Hands `method` to the main thread and returns at once: it runs there from
  // the message loop, after the calls queued before it, unless the thread is
  // destroyed first. The thread never waits for the window, so its owner can
  // stop it, or wait for its end, without handling a message. Called from
  // the main thread itself, it runs at once.
  void Queue(std::function<void()> method);

 private:
  friend class TApplication;
  static unsigned __stdcall ThreadProc(void* self);
  // The application window's handling of a finished thread, and of one that
  // queued calls.
  static void ThreadDone(TThread* thread);
  static void ThreadQueued(TThread* thread);

  HANDLE handle_ = nullptr;
  unsigned id_ = 0;
  bool started_ = false;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  std::atomic<bool> skipExecute_{false};
  std::mutex queueMutex_;
  std::vector<std::function<void()>> queued_;  // guarded by queueMutex_
  bool queuePosted_ = false;  // a message to run queued_ is on its way; guarded by queueMutex_
};

}  // namespace classlib
