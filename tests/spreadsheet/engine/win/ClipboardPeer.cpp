// Another program on the clipboard, for the clipboard tests:
//   clipboard_peer read FILE   writes the clipboard's CF_TEXT to FILE and the
//                              "CRV32D" block (when there is one) to FILE.prv
//   clipboard_peer put FILE    puts FILE's text on the clipboard as CF_TEXT only
// Exit code 0 on success.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

bool WriteFileText(const std::string& path, const char* text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::fwrite(text, 1, std::strlen(text), file);
  std::fclose(file);
  return true;
}

bool SaveFormat(UINT format, const std::string& path) {
  HANDLE data = GetClipboardData(format);
  if (data == nullptr) return false;
  const char* text = static_cast<const char*>(GlobalLock(data));
  bool ok = text != nullptr && WriteFileText(path, text);
  GlobalUnlock(data);
  return ok;
}

int Read(const std::string& path, HWND owner) {
  if (!OpenClipboard(owner)) return 2;
  bool ok = SaveFormat(CF_TEXT, path);
  SaveFormat(RegisterClipboardFormatA("CRV32D"), path + ".prv");
  CloseClipboard();
  return ok ? 0 : 3;
}

int Put(const std::string& path, HWND owner) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return 4;
  std::string text;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
  std::fclose(file);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  char* bytes = static_cast<char*>(GlobalLock(memory));
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  if (!OpenClipboard(owner)) return 2;
  EmptyClipboard();
  bool ok = SetClipboardData(CF_TEXT, memory) != nullptr;
  CloseClipboard();
  return ok ? 0 : 5;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 1;
  HWND owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr);
  std::string verb = argv[1];
  int code = verb == "read" ? Read(argv[2], owner) : verb == "put" ? Put(argv[2], owner) : 1;
  DestroyWindow(owner);
  return code;
}
