// TExtListView: the list view the analyser puts on its forms. To
// TCustomEnhListView it adds the common-controls list features: extended
// styles, a column order the user may change by dragging headers (kept with
// the widths, both by display position), header images, hover time, info
// tips, hot tracking and a virtual mode whose items the application gives on
// request.
#pragma once

#include "classlib/win/Win32.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "analyser/components/win/EnhListView.h"

namespace foldwick {

class EELVException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
class EELVOldComCtl : public EELVException {
 public:
  using EELVException::EELVException;
};

enum class TColumnImageAlign : std::uint8_t { ciaLeftOfText, ciaRightOfText };

// The header look of one column.
struct TExtListColumn {
  int ImageIndex = -1;  // no image
  TColumnImageAlign ImageAlignment = TColumnImageAlign::ciaRightOfText;
};

using TLVMarqueeBeginEvent = std::function<void(classlib::TObject* Sender, bool& CanBegin)>;
using TLVHotTrackEvent = std::function<void(classlib::TObject* Sender, int& ItemIndex, int SubItemIndex,
                                            classlib::TPoint Location, bool& AllowSelect)>;
using TLVInfoTipEvent = std::function<void(classlib::TObject* Sender, int ItemIndex, const std::string& Current,
                                           std::string& Additional)>;
using TLVVMGetItemInfoEvent =
    std::function<void(classlib::TObject* Sender, int Item, int SubItem, unsigned Mask, int& Image, LPARAM& Param,
                       unsigned& State, int& Indent, std::string& Text)>;
using TLVVMCacheHintEvent = std::function<void(classlib::TObject* Sender, NMLVCACHEHINT& HintInfo)>;
using TLVVMFindItemEvent = std::function<void(classlib::TObject* Sender, NMLVFINDITEMA& FindInfo, int& Found)>;
using TLVVMStateChangedEvent = std::function<void(classlib::TObject* Sender, NMLVODSTATECHANGE& StateInfo)>;

class TExtListView : public TCustomEnhListView {
 public:
  explicit TExtListView(classlib::TComponent* AOwner);
  // Writes the layout, order and widths by display position.
  ~TExtListView() override;

  void Loaded() override;

  TExtendedStyles ExtendedStyles() const;
  void SetExtendedStyles(TExtendedStyles value);
  bool VirtualMode() const { return OwnerData; }
  // Makes the window again, with or without the virtual (owner-data) style.
  void SetVirtualMode(bool value);
  int HoverTime() const;
  void SetHoverTime(int value);
  int SelectionMark() const;
  void SetSelectionMark(int value);
  bool RequireComCtlUpdate() const { return requireUpdate_; }
  // Checks the common-controls library at once: EELVOldComCtl when it is
  // older than 4.70.
  void SetRequireComCtlUpdate(bool value);
  void SetShowSortArrows(bool value) override;

  // The header look of each column (item i describes column i).
  const std::vector<TExtListColumn>& ColumnsFormat() const { return columnsFormat_; }
  void SetColumnsFormat(const std::vector<TExtListColumn>& value);
  void SetSmallImages(classlib::TImageList* images);

  // The version of the common-controls library (major, minor, build,
  // revision); all 0 when it has none that can be read.
  static TFileVersion ComCtlVersion();

  TLVMarqueeBeginEvent OnMarqueeBegin;
  classlib::TNotifyEvent OnItemActivate;
  TLVHotTrackEvent OnHotTrack;
  TLVInfoTipEvent OnInfoTip;
  TLVVMGetItemInfoEvent OnVMGetItemInfo;
  TLVVMCacheHintEvent OnVMCacheHint;
  TLVVMFindItemEvent OnVMFindItem;
  TLVVMStateChangedEvent OnVMStateChanged;

 protected:
  void WindowCreated() override;
  bool Notify(NMHDR& header, LRESULT& result) override;
  int ColumnAtDisplayPosition(int position) const override;
  void SaveLayout() override;
  void LoadLayout() override;
  bool FullRowSelectDefault() const override { return (ExtendedStyles() & lvxFullRowSelect) != 0; }
  // Gives each column its header image (without owner-drawn headers).
  void ApplyHeaderImages();

 private:
  TExtendedStyles styles_ = 0;
  int hoverTime_ = -1;
  int selectionMark_ = -1;
  bool requireUpdate_ = false;
  std::vector<TExtListColumn> columnsFormat_;
};

}  // namespace foldwick
