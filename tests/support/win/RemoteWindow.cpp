// Other programs' windows and control texts.
#include "tests/support/win/RemoteWindow.h"

#include <cstring>
#include <vector>

namespace uikit {

namespace {

struct TFind {
  std::string prefix;
  HWND found = nullptr;
};

BOOL CALLBACK MatchTop(HWND hwnd, LPARAM param) {
  auto* find = reinterpret_cast<TFind*>(param);
  if (!IsWindowVisible(hwnd)) return TRUE;
  if (WindowCaption(hwnd).rfind(find->prefix, 0) == 0) {
    find->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// A block of memory in the program that owns `window`, freed with the object.
class TRemoteBuffer {
 public:
  TRemoteBuffer(HWND window, size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_ != nullptr) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~TRemoteBuffer() {
    if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  TRemoteBuffer(const TRemoteBuffer&) = delete;
  TRemoteBuffer& operator=(const TRemoteBuffer&) = delete;
  bool Ready() const { return address_ != nullptr; }
  char* Address(size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
  bool Write(size_t offset, const void* data, size_t size) const {
    return WriteProcessMemory(process_, Address(offset), data, size, nullptr) != FALSE;
  }
  std::string ReadText(size_t offset, size_t size) const {
    std::vector<char> text(size + 1, '\0');
    ReadProcessMemory(process_, Address(offset), text.data(), size, nullptr);
    return text.data();
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  size_t size_;
};

constexpr size_t kTextSize = 1024;

}  // namespace

std::string WindowCaption(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

HWND WaitForTopWindow(const std::string& prefix, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    TFind find{prefix};
    EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&find));
    if (find.found != nullptr || GetTickCount() - start >= timeoutMs) return find.found;
    Sleep(100);
  }
}

namespace {

struct TClassSearch {
  const char* name;
  HWND found;
};

BOOL CALLBACK MatchClass(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<TClassSearch*>(param);
  char name[64] = "";
  GetClassNameA(hwnd, name, sizeof name);
  if (lstrcmpiA(name, search->name) != 0) return TRUE;
  search->found = hwnd;
  return FALSE;
}

}  // namespace

HWND FindChildOfClass(HWND parent, const char* className) {
  TClassSearch search{className, nullptr};
  EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string RemoteStatusText(HWND statusBar, int part) {
  TRemoteBuffer buffer(statusBar, kTextSize);
  if (!buffer.Ready()) return {};
  const LRESULT info = SendMessageA(statusBar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(part), 0);
  if (LOWORD(info) >= kTextSize) return {};
  SendMessageA(statusBar, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(buffer.Address()));
  return buffer.ReadText(0, LOWORD(info));
}

HTREEITEM RemoteTreeRoot(HWND tree) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

std::string RemoteTreeItemText(HWND tree, HTREEITEM item) {
  TRemoteBuffer buffer(tree, sizeof(TVITEMA) + kTextSize);
  if (!buffer.Ready() || item == nullptr) return {};
  TVITEMA request = {};
  request.mask = TVIF_TEXT | TVIF_HANDLE;
  request.hItem = item;
  request.pszText = buffer.Address(sizeof(TVITEMA));
  request.cchTextMax = static_cast<int>(kTextSize);
  buffer.Write(sizeof(TVITEMA), "", 1);
  if (!buffer.Write(0, &request, sizeof request)) return {};
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(buffer.Address()));
  return buffer.ReadText(sizeof(TVITEMA), kTextSize - 1);
}

int RemoteTreeStateImage(HWND tree, HTREEITEM item) {
  if (item == nullptr) return 0;
  const auto state = static_cast<UINT>(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_STATEIMAGEMASK));
  return static_cast<int>((state & TVIS_STATEIMAGEMASK) >> 12);
}

std::string RemoteListItemText(HWND list, int row, int column) {
  TRemoteBuffer buffer(list, sizeof(LVITEMA) + kTextSize);
  if (!buffer.Ready()) return {};
  LVITEMA request = {};
  request.iSubItem = column;
  request.pszText = buffer.Address(sizeof(LVITEMA));
  request.cchTextMax = static_cast<int>(kTextSize);
  buffer.Write(sizeof(LVITEMA), "", 1);
  if (!buffer.Write(0, &request, sizeof request)) return {};
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer.Address()));
  return buffer.ReadText(sizeof(LVITEMA), kTextSize - 1);
}

int RemoteListCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

}  // namespace uikit
