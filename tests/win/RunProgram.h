// Test support for Windows tests that start other programs: the folder of the
// running test program (other test programs are built beside it) and a run
// to the end of a command line.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace testsupport {

// The folder of this program, without a trailing backslash.
inline std::string ExeDir() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, n);
  return dir.substr(0, dir.find_last_of('\\'));
}

// Runs a command line to its end (at most a minute) and returns its exit
// code, or -1 when it could not start. Wide, for names outside the ANSI code
// page; an 8-bit line is read in that code page.
inline int RunAndWait(std::wstring commandLine) {
  STARTUPINFOW si = {sizeof si};
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  WaitForSingleObject(pi.hProcess, 60000);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}
inline int RunAndWait(const std::string& commandLine) {
  std::wstring wide(commandLine.size(), L'\0');
  wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, commandLine.c_str(), static_cast<int>(commandLine.size()),
                                                           wide.data(), static_cast<int>(wide.size()))));
  return RunAndWait(wide);
}

// Polls `done` every 100 ms until it holds (true) or `timeoutMs` passes.
inline bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 30000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(100);
  }
  return true;
}

// A program started on the UI kit's desktop, where the test's own windows
// live, so that the test finds its windows; it is ended when the holder goes
// if it still runs.
class TStartedProgram {
 public:
  explicit TStartedProgram(std::string commandLine, const char* folder = nullptr) {
    STARTUPINFOA si = {sizeof si};
    char desktop[] = "corvane-ui";
    si.lpDesktop = desktop;
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &si, &process_))
      process_ = {};
  }
  // The same with a wide command line, for parameters outside the ANSI code
  // page.
  explicit TStartedProgram(std::wstring commandLine) {
    STARTUPINFOW si = {sizeof si};
    wchar_t desktop[] = L"corvane-ui";
    si.lpDesktop = desktop;
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &process_))
      process_ = {};
  }
  ~TStartedProgram() {
    if (process_.hProcess == nullptr) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  TStartedProgram(const TStartedProgram&) = delete;
  TStartedProgram& operator=(const TStartedProgram&) = delete;

  bool Started() const { return process_.hProcess != nullptr; }
  // True when the program ended within the time.
  bool Ended(DWORD timeoutMs) const {
    return Started() && WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
  }
  // Closes `window` and waits for the program to end; true when it did.
  bool Close(HWND window) const {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return Ended(30000);
  }

 private:
  PROCESS_INFORMATION process_ = {};
};

}  // namespace testsupport
