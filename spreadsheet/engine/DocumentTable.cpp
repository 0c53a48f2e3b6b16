// The open-document table and the swap of the current-document context.
#include "spreadsheet/engine/DocumentTable.h"

#include <algorithm>
#include <cstring>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/EnginePlatform.h"

namespace corvane {
namespace {

TDocSlot gSlots[kDocSlotCount];
int gSlotCount = 0;  // documents use slots 1..gSlotCount

bool InUse(int slot) { return slot >= 1 && slot <= gSlotCount && gSlots[slot].rowHeads != nullptr; }

// File names are told apart as the file system does, every letter of the
// ANSI code page upper-cased; the window shows the name so.
std::string UpperFileName(std::string_view name) { return EnginePlatform().UpperCaseAnsi(name); }

// The document slot holding `rowHeads`, or 0.
int SlotOfRowHeads(const TPoolHandle* rowHeads) {
  if (rowHeads == nullptr) return 0;
  for (int slot = 1; slot <= gSlotCount; ++slot)
    if (gSlots[slot].rowHeads == rowHeads) return slot;
  return 0;
}

bool TagInUse(TOwnerTag tag) {
  for (int slot = 0; slot <= gSlotCount; ++slot)
    if (gSlots[slot].rowHeads != nullptr && gSlots[slot].ownerTag == tag) return true;
  return false;
}

// Frees the document's store and pages and makes the slot free. A current or
// parked copy of its context is forgotten first, so nothing keeps pointing at
// the freed table.
void FreeDocument(int slot) {
  TDocSlot& doc = gSlots[slot];
  if (gCurrentDoc.rowHeads == doc.rowHeads) ClearDocumentContext();
  if (gSlots[0].rowHeads == doc.rowHeads) gSlots[0] = TDocSlot{};
  CellStoreForgetRowHeads(doc.rowHeads);
  EnginePlatform().FreeMem(doc.rowHeads);
  TOwnerTag tag = doc.ownerTag;
  doc = TDocSlot{};
  PoolFreeOwner(tag);
}

}  // namespace

bool FindOpenSheet(std::string_view name, int& slot) {
  slot = 0;
  if (name.empty()) return false;
  std::string upper = UpperFileName(name.substr(0, kMaxFileNameChars));
  for (int s = 1; s <= gSlotCount; ++s)
    if (InUse(s) && !gSlots[s].untitled && gSlots[s].fileName == upper) slot = s;
  return slot != 0;
}

bool ShareOpenSheet(int slot) {
  if (slot < 1 || slot > gSlotCount || !InUse(slot)) return false;
  ++gSlots[slot].refCount;
  return true;
}

TOpenResult RegisterOpenSheet(std::string_view name, int& slot, bool untitled) {
  untitled = untitled || name.empty();
  if (!untitled && FindOpenSheet(name, slot)) {
    ++gSlots[slot].refCount;
    return TOpenResult::kShared;
  }
  slot = 0;
  int free = 1;
  while (free <= gSlotCount && gSlots[free].rowHeads != nullptr) ++free;
  void* table = free < kDocSlotCount ? EnginePlatform().GetMem(kRowHeadTableBytes) : nullptr;
  if (table == nullptr) {
    SetOutOfMemoryError();
    return TOpenResult::kFailed;
  }
  std::memset(table, 0, kRowHeadTableBytes);
  CellStoreForgetRowHeads(static_cast<TPoolHandle*>(table));  // an index left for a freed table here
  TDocSlot& doc = gSlots[free];
  doc = TDocSlot{};
  CopyDefaultSheetSettings(doc.settings);
  TOwnerTag tag;
  do tag = PoolNextOwner();
  while (TagInUse(tag));
  doc.ownerTag = tag;
  doc.fileName = UpperFileName(name.substr(0, kMaxFileNameChars));
  doc.untitled = untitled;
  doc.rowHeads = static_cast<TPoolHandle*>(table);
  gSlotCount = std::max(gSlotCount, free);
  slot = free;
  return TOpenResult::kNew;
}

bool RenameOpenSheet(int slot, std::string_view name) {
  if (!InUse(slot)) return false;
  gSlots[slot].fileName = UpperFileName(name.substr(0, kMaxFileNameChars));
  gSlots[slot].untitled = name.empty();
  return true;
}

void ReleaseOpenSheet(TOwnerTag tag) {
  if (tag == kNoOwner) return;
  for (int slot = 1; slot <= gSlotCount; ++slot) {
    if (!InUse(slot) || gSlots[slot].ownerTag != tag) continue;
    if (gSlots[slot].refCount > 0) --gSlots[slot].refCount;
    else FreeDocument(slot);
    return;
  }
}

void FreeAllDocuments() {
  for (int slot = 1; slot <= gSlotCount; ++slot)
    if (InUse(slot)) FreeDocument(slot);
  gSlots[0] = TDocSlot{};
  gSlotCount = 0;
  ClearDocumentContext();
}

void SaveCurrentStore() {
  TDocSlot& park = gSlots[0];
  park.rowHeads = gCurrentDoc.rowHeads;
  park.highRow = gCurrentDoc.highRow;
  park.highCol = gCurrentDoc.highCol;
  park.ownerTag = gCurrentDoc.ownerTag;
}

void RestoreCurrentStore() {
  const TDocSlot& park = gSlots[0];
  gCurrentDoc.rowHeads = park.rowHeads;
  gCurrentDoc.highRow = park.highRow;
  gCurrentDoc.highCol = park.highCol;
  gCurrentDoc.ownerTag = park.ownerTag;
  PoolSetOwner(park.ownerTag);
}

void SaveSheetContext() {
  int slot = SlotOfRowHeads(gCurrentDoc.rowHeads);
  if (slot == 0) return;
  TDocSlot& doc = gSlots[slot];
  doc.highRow = gCurrentDoc.highRow;
  doc.highCol = gCurrentDoc.highCol;
  doc.graphCount = gCurrentDoc.graphCount;
  doc.rangeNameCount = gCurrentDoc.rangeNameCount;
  doc.userFuncCount = gCurrentDoc.userFuncCount;
  if (std::uint8_t* block = PoolBlock(gCurrentDoc.graphs[0]))
    std::memcpy(block, gCurrentDoc.currentGraph, kGraphRecordBytes);
  std::copy(std::begin(gCurrentDoc.graphs), std::end(gCurrentDoc.graphs), doc.graphs);
  std::copy(std::begin(gCurrentDoc.rangeNames), std::end(gCurrentDoc.rangeNames), doc.rangeNames);
  std::copy(std::begin(gCurrentDoc.userFuncs), std::end(gCurrentDoc.userFuncs), doc.userFuncs);
}

void RestoreSheetContext() {
  int slot = SlotOfRowHeads(gCurrentDoc.rowHeads);
  if (slot == 0) return;
  const TDocSlot& doc = gSlots[slot];
  gCurrentDoc.highRow = doc.highRow;
  gCurrentDoc.highCol = doc.highCol;
  gCurrentDoc.graphCount = doc.graphCount;
  gCurrentDoc.rangeNameCount = doc.rangeNameCount;
  gCurrentDoc.userFuncCount = doc.userFuncCount;
  std::copy(std::begin(doc.graphs), std::end(doc.graphs), gCurrentDoc.graphs);
  std::copy(std::begin(doc.rangeNames), std::end(doc.rangeNames), gCurrentDoc.rangeNames);
  std::copy(std::begin(doc.userFuncs), std::end(doc.userFuncs), gCurrentDoc.userFuncs);
  if (const std::uint8_t* block = PoolBlock(gCurrentDoc.graphs[0]))
    std::memcpy(gCurrentDoc.currentGraph, block, kGraphRecordBytes);
  else
    std::memset(gCurrentDoc.currentGraph, 0, kGraphRecordBytes);
}

bool ActivateDocumentContext(int slot) {
  if (!InUse(slot)) return false;
  TDocSlot& doc = gSlots[slot];
  PoolSetOwner(doc.ownerTag);
  if (gCurrentDoc.rowHeads == doc.rowHeads) return true;
  SaveSheetContext();
  gCurrentDoc.rowHeads = doc.rowHeads;
  gCurrentDoc.highRow = doc.highRow;
  gCurrentDoc.highCol = doc.highCol;
  gCurrentDoc.ownerTag = doc.ownerTag;
  LoadSlotSettings(slot);
  RestoreSheetContext();
  return true;
}

void LoadSlotSettings(int slot) {
  if (!InUse(slot)) return;
  gCurrentDoc.settings = gSlots[slot].settings;
  ApplySheetFormatSettings(gCurrentDoc.settings);
}

void StoreSlotSettings(int slot) {
  if (InUse(slot)) gSlots[slot].settings = gCurrentDoc.settings;
}

std::string WksFileName(std::string_view name) {
  std::string upper = UpperFileName(name);
  std::size_t lastPart = upper.find_last_of("\\/:");
  std::size_t dot = upper.rfind('.');
  if (dot == std::string::npos || (lastPart != std::string::npos && dot < lastPart)) upper += ".WKS";
  return upper;
}

TDocSlot* DocSlot(int slot) { return slot >= 0 && slot < kDocSlotCount ? &gSlots[slot] : nullptr; }

int DocSlotCount() { return gSlotCount; }

int CurrentDocSlot() { return SlotOfRowHeads(gCurrentDoc.rowHeads); }

}  // namespace corvane
