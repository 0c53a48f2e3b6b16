// TToolBar over the common tool-bar control: a row of flat buttons with
// images from an image list, hints shown as tool tips, and check buttons
// (alone or in groups of which one is down). A click fires the button's
// OnClick.
#pragma once

#include "classlib/win/Win32.h"

#include <string>
#include <vector>

#include "classlib/win/Controls.h"
#include "classlib/win/ImageList.h"

namespace classlib {

class TToolBar : public TWinControl {
 public:
  explicit TToolBar(TComponent* AOwner);
  ~TToolBar() override;

  void SetImages(TImageList* images);
  // Adds a button; `group` above 0 makes it one of a group of check buttons
  // (the same group number, next to each other), -1 a check button of its
  // own. Gives the button's index.
  int AddButton(int image, const std::string& hint, TNotifyEvent onClick, int group = 0);
  void AddSeparator();
  const std::string& Hint(int index) const { return buttons_.at(static_cast<size_t>(index)).hint; }
  bool Down(int index) const;
  void SetDown(int index, bool down);
  void SetButtonEnabled(int index, bool enabled);
  // The width the buttons take.
  int ButtonsWidth() const;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WindowCreated() override;
  bool Notify(NMHDR& header, LRESULT& result) override;

 private:
  struct TButton {
    int image;
    std::string hint;
    TNotifyEvent onClick;
    int group;
    bool down = false;
    bool enabled = true;
    bool separator = false;
  };
  void InsertIntoWindow(size_t index);
  bool ParentMessage(TMessage& Message);
  int CommandOf(size_t index) const { return kFirstCommand + static_cast<int>(index); }

  static constexpr int kFirstCommand = 1000;
  std::vector<TButton> buttons_;
  TImageList* images_ = nullptr;
  TWinControl* hookedParent_ = nullptr;
};

}  // namespace classlib
