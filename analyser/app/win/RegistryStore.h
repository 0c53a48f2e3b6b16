// Settings kept as string values under a key of the current user's registry.
#pragma once

#include <string>

#include "analyser/app/Settings.h"
#include "classlib/win/Registry.h"

namespace foldwick {

// The values of `key` below HKEY_CURRENT_USER, created when missing; reads
// give nothing and writes do nothing when the key cannot be opened.
class TRegistryStore : public TSettingsStore {
 public:
  explicit TRegistryStore(const std::string& key = kSettingsKey) { open_ = registry_.OpenKey("\\" + key, true); }
  std::optional<std::string> Read(const std::string& name) override {
    if (!open_ || !registry_.ValueExists(name)) return std::nullopt;
    return registry_.ReadString(name);
  }
  void Write(const std::string& name, const std::string& value) override {
    if (open_) registry_.WriteString(name, value);
  }

 private:
  classlib::TRegistry registry_;
  bool open_ = false;
};

}  // namespace foldwick
