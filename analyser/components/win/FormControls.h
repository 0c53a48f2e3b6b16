// Controls of the analyser's dialogs beyond the standard ones: a page control
// (tabs over pages), a spin edit, a date picker, the search animation, and
// the check boxes of list-view rows.
#pragma once

#include "classlib/win/Win32.h"

#include <string>
#include <vector>

#include "classlib/win/Controls.h"
#include "classlib/win/ListView.h"
#include "classlib/win/Notebook.h"
#include "classlib/win/StdCtrls.h"

namespace foldwick {

// Tabs along the top, one page of controls below for each; choosing a tab
// shows its page and fires OnChange.
class TPageControl : public classlib::TWinControl {
 public:
  explicit TPageControl(classlib::TComponent* AOwner);

  // Adds a tab and its page (owned by the control); gives the page.
  classlib::TPage& AddPage(const std::string& caption);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  classlib::TPage& Pages(int index) const;
  const std::string& PageCaption(int index) const;
  int ActivePageIndex() const { return active_; }
  // Shows page `index`; one outside the pages is refused (reported). Fires
  // nothing, as a change from code.
  void SetActivePageIndex(int index);
  // The keys that turn the pages, for the form's key preview: Ctrl+Tab (or
  // Ctrl+PageDown) shows the next page, with Shift (or Ctrl+PageUp) the one
  // before, round, as a click on its tab does; a focus left on the page that
  // went moves to the new page's first control. True when `Key` was one.
  bool PageKey(int Key, classlib::TShiftState Shift);
  // Shows page `index` as a click on its tab does (OnChange fires); a focus
  // left on the page that went moves to the new page's first control.
  void ChoosePage(int index);
  // The letters the tabs' captions show, which choose their pages.
  std::string DialogChars() const override;

  classlib::TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WindowCreated() override;
  bool Notify(NMHDR& header, LRESULT& result) override;
  classlib::TRect AlignRect() const override;
  // Alt and a tab's letter shows its page, the keyboard on the tabs; other
  // letters go to the shown page's controls.
  bool DialogChar(char Key) override;

 private:
  std::vector<classlib::TPage*> pages_;
  std::vector<std::string> captions_;
  int active_ = -1;
};

// An edit for a whole number with up and down arrows beside it, kept within
// MinValue..MaxValue.
class TSpinEdit : public classlib::TEdit {
 public:
  explicit TSpinEdit(classlib::TComponent* AOwner);
  int MinValue = 0;
  int MaxValue = 100;
  // The number typed, within the range; MinValue when none is typed.
  int Value() const;
  void SetValue(int value);

 protected:
  void WindowCreated() override;
};

// A drop-down date picker showing the short date.
class TDateTimePicker : public classlib::TWinControl {
 public:
  explicit TDateTimePicker(classlib::TComponent* AOwner);
  // The date chosen (local, at midnight).
  SYSTEMTIME Date() const;
  void SetDate(const SYSTEMTIME& date);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WindowCreated() override;

 private:
  SYSTEMTIME date_ = {};
};

// A small moving picture that shows a search is under way.
class TSearchAnimation : public classlib::TCustomControl {
 public:
  explicit TSearchAnimation(classlib::TComponent* AOwner);
  bool Active() const { return active_; }
  void SetActive(bool value);

 protected:
  void Paint(classlib::TCanvas& Canvas) override;
  void Timer(int Id) override;

 private:
  bool active_ = false;
  int frame_ = 0;
};

// The check box of a row of a list with check boxes.
bool ItemChecked(const classlib::TListView& list, const classlib::TListItem* item);
void SetItemChecked(classlib::TListView& list, const classlib::TListItem* item, bool checked);

}  // namespace foldwick
