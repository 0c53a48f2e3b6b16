// Registry access through the ANSI API.
#include "classlib/win/Registry.h"

#include "classlib/win/WideText.h"

namespace classlib {

std::string TRegistry::FullPath(const std::string& key) const {
  std::string path;
  if (!key.empty() && key[0] == '\\') path = key.substr(1);
  else if (currentPath_.empty()) path = key;
  else if (key.empty()) path = currentPath_;
  else path = currentPath_ + "\\" + key;
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

bool TRegistry::OpenKey(const std::string& key, bool CanCreate) {
  std::string path = FullPath(key);
  HKEY opened = nullptr;
  LONG rc = CanCreate
      ? RegCreateKeyExA(RootKey, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr)
      : RegOpenKeyExA(RootKey, path.c_str(), 0, KEY_ALL_ACCESS, &opened);
  if (rc != ERROR_SUCCESS) return false;
  CloseKey();
  current_ = opened;
  currentPath_ = path;
  return true;
}

void TRegistry::CloseKey() {
  if (current_ != nullptr) RegCloseKey(current_);
  current_ = nullptr;
  currentPath_.clear();
}

bool TRegistry::ValueExists(const std::string& name) const {
  return current_ != nullptr && RegQueryValueExA(current_, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::string TRegistry::ReadString(const std::string& name) const {
  if (current_ == nullptr) return {};
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(current_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
  if ((type != REG_SZ && type != REG_EXPAND_SZ) || size == 0) return {};
  std::string value(size, '\0');
  if (RegQueryValueExA(current_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) != ERROR_SUCCESS)
    return {};
  value.resize(size);
  while (!value.empty() && value.back() == '\0') value.pop_back();
  return value;
}

bool TRegistry::WriteString(const std::string& name, const std::string& value) {
  return current_ != nullptr &&
         RegSetValueExA(current_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

std::string TRegistry::ReadUtf8String(const std::string& name) const {
  if (current_ == nullptr) return {};
  const std::wstring wideName = WideFromText(name, CP_ACP);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(current_, wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
  if ((type != REG_SZ && type != REG_EXPAND_SZ) || size == 0) return {};
  std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(current_, wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
      ERROR_SUCCESS)
    return {};
  return TextFromWide(value.c_str(), CP_UTF8);
}

bool TRegistry::WriteUtf8String(const std::string& name, const std::string& value) {
  const std::wstring wide = WideFromText(value, CP_UTF8);
  if (current_ == nullptr || (wide.empty() && !value.empty())) return false;
  return RegSetValueExW(current_, WideFromText(name, CP_ACP).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                        static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool TRegistry::DeleteValue(const std::string& name) {
  return current_ != nullptr && RegDeleteValueA(current_, name.c_str()) == ERROR_SUCCESS;
}

std::vector<std::string> TRegistry::GetValueNames() const {
  std::vector<std::string> names;
  if (current_ == nullptr) return names;
  for (DWORD i = 0;; ++i) {
    char name[16384];
    DWORD length = sizeof name;
    if (RegEnumValueA(current_, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

bool TRegistry::KeyExists(const std::string& key) const {
  HKEY k = nullptr;
  if (RegOpenKeyExA(RootKey, FullPath(key).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

bool TRegistry::DeleteKey(const std::string& key) {
  std::string path = FullPath(key);
  if (path.empty()) return false;
  HKEY k = nullptr;
  if (RegOpenKeyExA(RootKey, path.c_str(), 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS) return false;
  for (;;) {
    char sub[256];
    DWORD length = sizeof sub;
    if (RegEnumKeyExA(k, 0, sub, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    TRegistry child(RootKey);
    if (!child.DeleteKey("\\" + path + "\\" + sub)) break;
  }
  RegCloseKey(k);
  return RegDeleteKeyA(RootKey, path.c_str()) == ERROR_SUCCESS;
}

}  // namespace classlib
