// The command table: the static list of commands and the enabling rules.
#include "spreadsheet/windows/Commands.h"

#include <cctype>

namespace corvane {

namespace {

constexpr TCommandInfo kCommands[] = {
    {TCommandId::kNone, "", TCommandNeed::kAlways, 0},
#define CORVANE_COMMAND_INFO(id, name, need, tag) {TCommandId::id, name, TCommandNeed::need, tag},
    CORVANE_COMMANDS(CORVANE_COMMAND_INFO)
#undef CORVANE_COMMAND_INFO
};
static_assert(sizeof kCommands / sizeof kCommands[0] == kCommandCount);

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k)
    if (std::toupper(static_cast<unsigned char>(a[k])) != std::toupper(static_cast<unsigned char>(b[k]))) return false;
  return true;
}

std::size_t Index(TCommandId id) {
  auto index = static_cast<std::size_t>(id);
  return index < static_cast<std::size_t>(kCommandCount) ? index : 0;
}

}  // namespace

bool NeedMet(TCommandNeed need, const TCommandState& state) {
  switch (need) {
    case TCommandNeed::kAlways: return true;
    case TCommandNeed::kSheet: return state.sheetOpen;
    // More than one sheet band. Counting the bands (rather than dividing the
    // last row by the rows per sheet) keeps two sheets of 4096 rows in, and
    // a zero rows-per-sheet value from dividing anything.
    case TCommandNeed::kSeveralSheets: return state.sheetOpen && state.sheetCount > 1;
    case TCommandNeed::kUndo: return state.sheetOpen && state.undoAvailable;
    case TCommandNeed::kPaste: return state.sheetOpen && state.clipboardHasData;
    case TCommandNeed::kEditing: return state.editing;
  }
  return false;
}

TCommandTable::TCommandTable() : handlers_(static_cast<std::size_t>(kCommandCount)) {}

const TCommandInfo& TCommandTable::Info(TCommandId id) { return kCommands[Index(id)]; }

TCommandId TCommandTable::FindByName(std::string_view name) {
  if (name.empty()) return TCommandId::kNone;
  for (const TCommandInfo& info : kCommands)
    if (SameName(info.name, name)) return info.id;
  return TCommandId::kNone;
}

void TCommandTable::Bind(TCommandId id, TCommandHandler handler) {
  if (id == TCommandId::kNone) return;
  handlers_[Index(id)] = std::move(handler);
}

bool TCommandTable::Bound(TCommandId id) const { return static_cast<bool>(handlers_[Index(id)]); }

bool TCommandTable::Enabled(TCommandId id, const TCommandState& state) const {
  return id != TCommandId::kNone && Bound(id) && NeedMet(Info(id).need, state);
}

bool TCommandTable::MenuEnabled(TCommandId id, const TCommandState& state) const {
  return !state.promptActive && !state.editing && Enabled(id, state);
}

bool TCommandTable::Run(TCommandId id, const TCommandState& state) {
  if (!Enabled(id, state)) return false;
  // A copy: the handler may rebind its own command.
  TCommandHandler handler = handlers_[Index(id)];
  handler(Info(id).tag);
  return true;
}

}  // namespace corvane
