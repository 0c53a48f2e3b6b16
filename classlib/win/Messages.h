// The class library's private window messages, all in one place.
#pragma once

#include <windows.h>

namespace classlib {

// Sent by a worker to the application window: run the std::function at lParam
// on the main thread; the result is 1 when it ran.
constexpr UINT kSynchronizeMessage = WM_APP + 1;
// Posted by a finished worker: lParam is its TThread, whose OnTerminate runs
// on the main thread.
constexpr UINT kThreadDoneMessage = WM_APP + 2;
// Posted by TForm::Release to the form's own window: free the form.
constexpr UINT kReleaseMessage = WM_APP + 3;
// Posted by the spreadsheet's main frame to itself: open the file handed over
// by a second start of the program; lParam owns the name (a std::string the
// receiver frees).
constexpr UINT kOpenHandedOverMessage = WM_APP + 4;
// Posted by a worker that queued calls for the main thread: lParam is its
// TThread, whose queued calls run unless it is gone.
constexpr UINT kThreadQueueMessage = WM_APP + 5;

}  // namespace classlib
