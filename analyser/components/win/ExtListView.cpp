// Extended styles, column order, header images and the list's notifications.
#include "analyser/components/win/ExtListView.h"

#include <algorithm>
#include <cstring>

#include "classlib/win/Registry.h"

namespace foldwick {

namespace {

// The system's bits of the extended styles, in the order of TExtendedStyle.
constexpr DWORD kStyleBits[] = {LVS_EX_GRIDLINES,       LVS_EX_SUBITEMIMAGES,    LVS_EX_CHECKBOXES,
                                LVS_EX_TRACKSELECT,     LVS_EX_HEADERDRAGDROP,   LVS_EX_FULLROWSELECT,
                                LVS_EX_ONECLICKACTIVATE, LVS_EX_TWOCLICKACTIVATE, LVS_EX_FLATSB,
                                LVS_EX_INFOTIP,         LVS_EX_UNDERLINEHOT,     LVS_EX_UNDERLINECOLD};

DWORD ToSystemStyles(TExtendedStyles styles) {
  DWORD bits = 0;
  for (size_t i = 0; i < std::size(kStyleBits); ++i)
    if (styles & (1u << i)) bits |= kStyleBits[i];
  return bits;
}

TExtendedStyles FromSystemStyles(DWORD bits) {
  TExtendedStyles styles = 0;
  for (size_t i = 0; i < std::size(kStyleBits); ++i)
    if (bits & kStyleBits[i]) styles |= static_cast<TExtendedStyles>(1u << i);
  return styles;
}

void CopyText(const std::string& text, char* buffer, int size) {
  if (buffer == nullptr || size <= 0) return;
  const size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

}  // namespace

TExtListView::TExtListView(classlib::TComponent* AOwner) : TCustomEnhListView(AOwner) {}

TExtListView::~TExtListView() { SaveLayoutOnce(); }

TFileVersion TExtListView::ComCtlVersion() {
  char path[MAX_PATH] = "comctl32.dll";
  if (HMODULE module = GetModuleHandleA("comctl32.dll")) GetModuleFileNameA(module, path, sizeof path);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  if (size == 0) return {0, 0, 0, 0};
  std::vector<char> data(size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!GetFileVersionInfoA(path, 0, size, data.data()) ||
      !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) || info == nullptr)
    return {0, 0, 0, 0};
  return {HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS),
          LOWORD(info->dwFileVersionLS)};
}

void TExtListView::SetRequireComCtlUpdate(bool value) {
  requireUpdate_ = value;
  if (value && !VersionAtLeast(ComCtlVersion(), {4, 70, 0, 0}))
    throw EELVOldComCtl("COMCTL32.DLL is older than required version");
}

TExtendedStyles TExtListView::ExtendedStyles() const {
  return HandleAllocated() ? FromSystemStyles(ExtendedStyle()) : styles_;
}

void TExtListView::SetExtendedStyles(TExtendedStyles value) {
  value = NormalizeExtendedStyles(value);
  const bool subItemImagesChanged = ((value ^ ExtendedStyles()) & lvxSubItemImages) != 0;
  styles_ = value;
  SetExtendedStyle(ToSystemStyles(value));
  if (subItemImagesChanged) Invalidate();
}

void TExtListView::SetVirtualMode(bool value) {
  if (value != OwnerData) {
    OwnerData = value;
    RecreateWindow();
  }
  Handle();
}

int TExtListView::HoverTime() const {
  return HandleAllocated() ? static_cast<int>(Send(LVM_GETHOVERTIME, 0, 0)) : hoverTime_;
}

void TExtListView::SetHoverTime(int value) {
  hoverTime_ = value;
  Send(LVM_SETHOVERTIME, 0, static_cast<LPARAM>(value));
}

int TExtListView::SelectionMark() const {
  return HandleAllocated() ? static_cast<int>(Send(LVM_GETSELECTIONMARK, 0, 0)) : selectionMark_;
}

void TExtListView::SetSelectionMark(int value) {
  selectionMark_ = value;
  Send(LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(value));
}

void TExtListView::WindowCreated() {
  TCustomEnhListView::WindowCreated();
  Send(LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(selectionMark_));
  Send(LVM_SETHOVERTIME, 0, static_cast<LPARAM>(hoverTime_));
  SetExtendedStyle(ToSystemStyles(styles_));
}

void TExtListView::Loaded() {
  TCustomEnhListView::Loaded();
  ApplyHeaderImages();
}

void TExtListView::SetShowSortArrows(bool value) {
  TCustomEnhListView::SetShowSortArrows(value);
  ApplyHeaderImages();
}

void TExtListView::SetColumnsFormat(const std::vector<TExtListColumn>& value) {
  columnsFormat_ = value;
  ApplyHeaderImages();
}

void TExtListView::SetSmallImages(classlib::TImageList* images) {
  TCustomEnhListView::SetSmallImages(images);
  ApplyHeaderImages();
}

void TExtListView::ApplyHeaderImages() {
  if (!HandleAllocated() || OnDrawHeader || ShowSortArrows()) return;
  HWND header = HeaderHandle();
  if (header == nullptr) return;
  SendMessageA(header, HDM_SETIMAGELIST, 0, Send(LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  for (int c = 0; c < static_cast<int>(columnsFormat_.size()) && c < ColumnCount(); ++c) {
    const TExtListColumn& format = columnsFormat_[static_cast<size_t>(c)];
    HDITEMA item = {};
    item.mask = HDI_FORMAT | HDI_IMAGE;
    SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&item));
    item.fmt &= ~(HDF_IMAGE | HDF_BITMAP_ON_RIGHT | HDF_JUSTIFYMASK);
    if (format.ImageIndex >= 0) {
      item.fmt |= HDF_IMAGE;
      item.iImage = format.ImageIndex;
      if (format.ImageAlignment == TColumnImageAlign::ciaRightOfText) item.fmt |= HDF_BITMAP_ON_RIGHT;
    }
    const classlib::TAlignment align = ColumnAlignment(c);
    item.fmt |= align == classlib::TAlignment::taRightJustify ? HDF_RIGHT
                : align == classlib::TAlignment::taCenter ? HDF_CENTER
                                                              : HDF_LEFT;
    SendMessageA(header, HDM_SETITEMA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&item));
  }
}

int TExtListView::ColumnAtDisplayPosition(int position) const {
  return ColumnAtPosition(ColumnOrder(), position);
}

void TExtListView::SaveLayout() {
  if (SaveSettings.RegistryKey.empty()) return;
  classlib::TRegistry registry;
  if (!registry.OpenKey("\\" + SaveSettings.RegistryKey + "\\Columns", true)) return;
  const std::vector<int> order = ColumnOrder();
  if (SaveSettings.SaveColumnOrder) registry.WriteString("Order", JoinNumbers(order));
  if (SaveSettings.SaveColumnSizes) {
    std::vector<int> widths;
    for (int column : order) widths.push_back(ColumnWidth(column));
    registry.WriteString("Sizes", JoinNumbers(widths));
  }
}

void TExtListView::LoadLayout() {
  if (SaveSettings.RegistryKey.empty()) return;
  classlib::TRegistry registry;
  if (!registry.OpenKey("\\" + SaveSettings.RegistryKey + "\\Columns", false)) return;
  if (SaveSettings.SaveColumnOrder)
    SetColumnOrder(ValidColumnOrder(SplitNumbers(registry.ReadString("Order")), ColumnCount()));
  if (SaveSettings.SaveColumnSizes && registry.ValueExists("Sizes")) {
    const std::vector<int> widths = SplitNumbers(registry.ReadString("Sizes"));
    const std::vector<int> order = ColumnOrder();
    for (size_t p = 0; p < widths.size() && p < order.size(); ++p) SetColumnWidth(order[p], widths[p]);
  }
}

bool TExtListView::Notify(NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case LVN_GETINFOTIPA: {
      auto& tip = reinterpret_cast<NMLVGETINFOTIPA&>(header);
      const std::string current = tip.dwFlags == 0 && tip.pszText != nullptr ? tip.pszText : "";
      std::string additional;
      Fire(OnInfoTip, this, tip.iItem, current, additional);
      if (!additional.empty()) CopyText(current.empty() ? additional : current + additional, tip.pszText, tip.cchTextMax);
      SetWindowPos(handle_, HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
      return true;
    }
    case LVN_MARQUEEBEGIN: {
      bool canBegin = true;
      Fire(OnMarqueeBegin, this, canBegin);
      result = canBegin ? 0 : 1;
      return true;
    }
    case LVN_ODFINDITEMA: {
      int found = -1;
      Fire(OnVMFindItem, this, reinterpret_cast<NMLVFINDITEMA&>(header), found);
      result = found;
      return true;
    }
    case LVN_GETDISPINFOA: {
      if (!VirtualMode()) break;
      auto& info = reinterpret_cast<NMLVDISPINFOA&>(header).item;
      if (info.iItem == -1) return true;
      int image = info.iImage, indent = info.iIndent;
      LPARAM param = info.lParam;
      unsigned state = info.state;
      std::string text;
      Fire(OnVMGetItemInfo, this, info.iItem, info.iSubItem, info.mask & 0x1Fu, image, param, state, indent, text);
      if (info.mask & LVIF_TEXT) CopyText(text, info.pszText, info.cchTextMax);
      info.iImage = image;
      info.lParam = param;
      info.iIndent = indent;
      info.state = state;
      return true;
    }
    case LVN_HOTTRACK: {
      auto& track = reinterpret_cast<NMLISTVIEW&>(header);
      bool allowSelect = true;
      Fire(OnHotTrack, this, track.iItem, track.iSubItem, classlib::TPoint{track.ptAction.x, track.ptAction.y},
           allowSelect);
      result = allowSelect ? 0 : 1;
      return true;
    }
    case LVN_ODSTATECHANGED:
      Fire(OnVMStateChanged, this, reinterpret_cast<NMLVODSTATECHANGE&>(header));
      return true;
    case LVN_ITEMACTIVATE:
      Fire(OnItemActivate, this);
      return true;
    case LVN_ODCACHEHINT:
      Fire(OnVMCacheHint, this, reinterpret_cast<NMLVCACHEHINT&>(header));
      return true;
    default:
      break;
  }
  return TCustomEnhListView::Notify(header, result);
}

}  // namespace foldwick
