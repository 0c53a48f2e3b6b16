// Stands in for the suite's engine programs in the handler tests: writes the
// command line it was started with to "commands.log" beside itself. The file
// appears whole (written aside, then renamed), so a waiting test never reads half.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char self[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string dir(self, n);
  dir.erase(dir.find_last_of('\\'));
  std::string temp = dir + "\\commands.tmp", log = dir + "\\commands.log";
  HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  const char* line = GetCommandLineA();
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(strlen(line)), &written, nullptr);
  CloseHandle(file);
  return MoveFileExA(temp.c_str(), log.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 2;
}
