// The command-line parser.
#include "analyser/app/CommandLine.h"

#include <cctype>
#include <climits>
#include <cstdlib>

namespace foldwick {

namespace {

bool SameSwitch(const std::string& param, const char* name) {
  size_t i = 0;
  for (; name[i] != '\0'; ++i)
    if (i >= param.size() || std::toupper(static_cast<unsigned char>(param[i])) != name[i]) return false;
  return i == param.size();
}

bool ParseUnsigned(const std::string& text, std::uint32_t& value) {
  if (text.empty() || text.size() > 10) return false;
  std::uint64_t v = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    v = v * 10 + static_cast<unsigned>(c - '0');
  }
  if (v > 0xFFFFFFFFu) return false;
  value = static_cast<std::uint32_t>(v);
  return true;
}

// ":handle:process", as the Explorer passes a shared item id list.
bool ParseSharedForm(const std::string& text, std::uint32_t& handle, std::uint32_t& process) {
  if (text.size() < 4 || text[0] != ':') return false;
  const size_t second = text.find(':', 1);
  if (second == std::string::npos) return false;
  return ParseUnsigned(text.substr(1, second - 1), handle) && ParseUnsigned(text.substr(second + 1), process);
}

}  // namespace

bool ParseWholeNumber(const std::string& text, int& value) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  long long v = 0;
  for (; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    v = v * 10 + (text[i] - '0');
    if (v > static_cast<long long>(INT_MAX) + 1) return false;
  }
  if (negative) v = -v;
  if (v > INT_MAX || v < INT_MIN) return false;
  value = static_cast<int>(v);
  return true;
}

std::vector<TCommandAction> ParseCommandLine(const std::vector<std::string>& params) {
  std::vector<TCommandAction> actions;
  if (params.empty()) return actions;

  if (SameSwitch(params[0], "/IDLIST")) {
    TCommandAction shared;
    shared.Kind = TCommandAction::kScanSharedIdList;
    if (params.size() > 1 && ParseSharedForm(params[1], shared.Handle, shared.ProcessId)) actions.push_back(shared);
    if (params.size() > 2) {
      TCommandAction verbPath;
      verbPath.Kind = TCommandAction::kScanVerbPath;
      verbPath.Path = params[2];
      actions.push_back(verbPath);
    }
  }

  int action = kActionNone;
  std::string file;
  bool browse = false;
  for (size_t i = 0; i < params.size(); ++i) {
    const std::string& p = params[i];
    const bool hasNext = i + 1 < params.size();
    if (SameSwitch(p, "/NONE")) continue;
    if (SameSwitch(p, "/EXCEL") || SameSwitch(p, "/SAVE")) {
      if (!hasNext) continue;
      action = SameSwitch(p, "/EXCEL") ? kActionExport : kActionSaveReport;
      file = params[++i];
    } else if (SameSwitch(p, "/PRINT")) {
      action = kActionPrint;
    } else if (SameSwitch(p, "/CONTEXT")) {
      browse = true;
    } else if (SameSwitch(p, "/EXPAND")) {
      TCommandAction expand;
      expand.Kind = TCommandAction::kSetExpandLevel;
      if (hasNext && ParseWholeNumber(params[i + 1], expand.Level))
        ++i;
      else
        expand.Level = 99;
      actions.push_back(expand);
    } else if (SameSwitch(p, "/SEARCH")) {
      TCommandAction search;
      search.Kind = TCommandAction::kOpenSearch;
      actions.push_back(search);
    } else {
      TCommandAction scan;
      scan.Kind = TCommandAction::kScanPath;
      scan.Path = p;
      scan.PendingAction = action;
      scan.ActionFile = file;
      actions.push_back(scan);
      browse = false;
    }
  }
  if (browse) {
    TCommandAction pick;
    pick.Kind = TCommandAction::kBrowseFolder;
    actions.push_back(pick);
  }
  return actions;
}

}  // namespace foldwick
