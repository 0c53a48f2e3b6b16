// Test support for Windows tests that start other programs: the folder of the
// running test program (other test programs are built beside it) and a run
// to the end of a command line.
#pragma once

#include <windows.h>

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
// code, or -1 when it could not start.
inline int RunAndWait(std::string commandLine) {
  STARTUPINFOA si = {sizeof si};
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  WaitForSingleObject(pi.hProcess, 60000);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}

}  // namespace testsupport
