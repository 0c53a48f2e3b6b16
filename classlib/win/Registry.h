// TRegistry: string values under one open key of a root (HKEY_CURRENT_USER by
// default). A key path starting with "\" is taken from the root, any other
// from the key now open.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace classlib {

class TRegistry {
 public:
  explicit TRegistry(HKEY root = HKEY_CURRENT_USER) : RootKey(root) {}
  ~TRegistry() { CloseKey(); }
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  // Opens `key` (creating it when CanCreate); false when it cannot.
  bool OpenKey(const std::string& key, bool CanCreate);
  void CloseKey();
  // The path of the open key below the root, without a leading "\".
  const std::string& CurrentPath() const { return currentPath_; }

  bool ValueExists(const std::string& name) const;
  // The string value `name`, or empty when it is missing or not a string.
  std::string ReadString(const std::string& name) const;
  bool WriteString(const std::string& name, const std::string& value);
  // The same through the wide API with the value as UTF-8, which keeps text
  // outside the ANSI code page (a value written by WriteString reads back
  // whole).
  std::string ReadUtf8String(const std::string& name) const;
  bool WriteUtf8String(const std::string& name, const std::string& value);
  bool DeleteValue(const std::string& name);
  // The names of the open key's values, in the order the registry lists them.
  std::vector<std::string> GetValueNames() const;

  bool KeyExists(const std::string& key) const;
  // Deletes `key` with all its subkeys.
  bool DeleteKey(const std::string& key);

  HKEY RootKey;

 private:
  std::string FullPath(const std::string& key) const;

  HKEY current_ = nullptr;
  std::string currentPath_;
};

}  // namespace classlib
