// TAdvSplitter: a bar the user drags to resize the control beside it, never
// below MinSize (nor so far that the other side gets less), optionally
// drawn with a bevel. TAdvStatusBar: the status bar the analyser's windows
// use, on which other controls may be placed. TUrlLabel: a label that opens
// its link through the shell and offers to copy its caption.
#pragma once

#include "classlib/win/Win32.h"

#include "analyser/components/SmallComponentRules.h"
#include "classlib/win/Controls.h"
#include "classlib/win/StatusBar.h"
#include "classlib/win/StdCtrls.h"
#include "classlib/Menus.h"

namespace foldwick {

class TAdvSplitter : public classlib::TCustomControl {
 public:
  // Left-aligned, 4 pixels wide.
  explicit TAdvSplitter(classlib::TComponent* AOwner);

  int MinSize = 30;
  bool Beveled() const { return beveled_; }
  void SetBeveled(bool value);
  classlib::TNotifyEvent OnMoved;

 protected:
  void Paint(classlib::TCanvas& Canvas) override;
  void MouseDown(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  void MouseMove(classlib::TShiftState Shift, int X, int Y) override;
  void MouseUp(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  void WindowCreated() override;

 private:
  TSplitSide Side() const;

  bool beveled_ = false;
  bool dragging_ = false;
  classlib::TControl* resized_ = nullptr;
};

class TUrlLabel : public classlib::TLabel {
 public:
  // Blue, underlined, with the hand cursor; a tab stop, which Enter or Space
  // opens and Shift+F10 gives its menu, with a focus frame round its text.
  explicit TUrlLabel(classlib::TComponent* AOwner);
  ~TUrlLabel() override;

  // What a click opens; the caption when blank.
  std::string URL;
  classlib::TColor ActiveColor = classlib::clPurple;

 protected:
  void Click() override;
  void MouseDown(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  void MouseUp(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  void KeyDown(int& Key, classlib::TShiftState Shift) override;
  bool DialogKey(int Key) override;
  void WndProc(classlib::TMessage& Message) override;

 private:
  void CopyCaption();
  // The label's own menu, at screen point `at`.
  void ShowMenu(POINT at);
  void DrawFocusFrame();

  classlib::TPopupMenu* menu_;
  classlib::TColor savedColor_ = classlib::clBlue;
};

// The status bar of the analyser's windows. Controls put on it (with it as
// their parent) show over its panels.
class TAdvStatusBar : public classlib::TStatusBar {
 public:
  using classlib::TStatusBar::TStatusBar;
};

}  // namespace foldwick
