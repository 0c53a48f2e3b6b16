// TThread: a worker thread created suspended, with a cooperative stop request,
// OnTerminate run on the main thread, optional self-freeing, and Synchronize,
// which runs a call on the main thread through the application window.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

#include "classlib/Component.h"

namespace classlib {

class TThread : public TObject {
 public:
  // Construct on the main thread. With CreateSuspended the thread waits for
  // Start; otherwise it starts at once.
  explicit TThread(bool CreateSuspended);
  // Destroying a running thread asks it to stop and waits for it (handling
  // messages meanwhile); its OnTerminate then does not run.
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
  // Main thread: waits for the thread to end, handling messages so that its
  // synchronised calls go on. Not for FreeOnTerminate threads, which may be
  // freed while waiting.
  void WaitFor();
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

 private:
  friend class TApplication;
  static unsigned __stdcall ThreadProc(void* self);
  // The application window's handling of a finished thread.
  static void ThreadDone(TThread* thread);

  HANDLE handle_ = nullptr;
  unsigned id_ = 0;
  bool started_ = false;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  std::atomic<bool> skipExecute_{false};
};

}  // namespace classlib
