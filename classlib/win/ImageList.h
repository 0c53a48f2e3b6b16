// TImageList: an image-list handle, destroyed with the object unless shared.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "classlib/Component.h"

namespace classlib {

class TImageList : public TComponent {
 public:
  explicit TImageList(TComponent* AOwner) : TComponent(AOwner) {}
  ~TImageList() override { SetHandle(nullptr); }

  HIMAGELIST Handle() const { return handle_; }
  // Takes `handle`; the previous one is destroyed unless ShareImages is on.
  void SetHandle(HIMAGELIST handle) {
    if (handle_ != nullptr && handle_ != handle && !ShareImages) ImageList_Destroy(handle_);
    handle_ = handle;
  }

  // The handle belongs to someone else (such as the system image list).
  bool ShareImages = false;

 private:
  HIMAGELIST handle_ = nullptr;
};

}  // namespace classlib
