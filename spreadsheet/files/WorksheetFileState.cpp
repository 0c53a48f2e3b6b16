// Per-document file state, kept by owner tag beside the document table.
#include "spreadsheet/files/WorksheetFileState.h"

#include <map>

#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/DocumentTable.h"

namespace corvane {
namespace {

std::map<TOwnerTag, TWorksheetFileState>& States() {
  static std::map<TOwnerTag, TWorksheetFileState> states;
  return states;
}

bool TagIsOpen(TOwnerTag tag) {
  for (int slot = 1; slot <= DocSlotCount(); ++slot) {
    const TDocSlot* doc = DocSlot(slot);
    if (doc && doc->rowHeads && doc->ownerTag == tag) return true;
  }
  return false;
}

}  // namespace

TWorksheetFileState& CurrentFileState() {
  static TWorksheetFileState standIn;
  TOwnerTag tag = gCurrentDoc.ownerTag;
  if (!HaveCurrentDocument() || tag == kNoOwner) {
    standIn = TWorksheetFileState{};
    return standIn;
  }
  auto& states = States();
  auto found = states.find(tag);
  if (found != states.end()) return found->second;
  for (auto it = states.begin(); it != states.end();) it = TagIsOpen(it->first) ? std::next(it) : states.erase(it);
  return states[tag];
}

void ResetFileStates() { States().clear(); }

}  // namespace corvane
