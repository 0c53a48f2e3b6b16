// TStatusBar over the common status-bar control: a row of panels of given
// widths (the last one takes what is left), each with a text. It sits at the
// bottom of its parent.
#pragma once

#include "classlib/win/Win32.h"

#include <string>
#include <vector>

#include "classlib/win/Controls.h"

namespace classlib {

class TStatusBar : public TWinControl {
 public:
  explicit TStatusBar(TComponent* AOwner);

  // Sets the panels' widths in pixels; texts of panels that remain stay.
  void SetPanelWidths(const std::vector<int>& widths);
  int PanelCount() const { return static_cast<int>(texts_.size()); }
  // A panel outside the bar is left alone.
  void SetPanelText(int index, const std::string& text);
  // The text the bar shows in a panel (empty outside the bar).
  std::string PanelText(int index) const;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WindowCreated() override;
  void Resize() override;

 private:
  void ApplyParts();

  std::vector<int> widths_;
  std::vector<std::string> texts_;
};

}  // namespace classlib
