// tabbar: the window of the tab strip over TTabBarModel, painted through an
// off-screen bitmap, with its small standard scroll bar for tabs that do not
// fit; and TTabdlg, the "Define Tabs" dialog its right click opens.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "classlib/win/StdCtrls.h"
#include "spreadsheet/controls/TabBar.h"
#include "spreadsheet/controls/win/OwnDrawnControl.h"

namespace corvane {

// The "Define Tabs" dialog: one item a line in a memo, "&Ok" (result 1),
// "&Reset" (empties the memo) and "&Cancel" (result 2; Esc too).
class TTabdlg : public classlib::TForm {
 public:
  explicit TTabdlg(classlib::TComponent* AOwner);
  // Runs the dialog on `items`: the memo's lines on "&Ok", nothing otherwise.
  std::optional<std::vector<std::string>> Edit(const std::vector<std::string>& items);

  classlib::TGroupBox Tabs{nullptr};
  classlib::TMemo Memo1{nullptr};
  classlib::TButton Ok{nullptr};
  classlib::TButton Reset{nullptr};
  classlib::TButton Cancel{nullptr};

 private:
  void MemoChanged();
};

class tabbar : public TModelWindow<TTabBarModel> {
 public:
  explicit tabbar(classlib::TComponent* AOwner);
  classlib::TScrollBar& ScrollBar() { return scroll_; }
  // The dialog the last right click opened (while it runs), for tests.
  TTabdlg* OpenDialog() const { return dialog_; }
  void SetFont(const classlib::TFont& value) override;
  std::string DialogChars() const override { return model_.Accelerators(); }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint(classlib::TCanvas& Canvas) override;
  void Resize() override;
  void KeyPress(char& Key) override;
  bool DialogChar(char Key) override { return model_.DialogChar(Key); }
  void DoEnter() override;
  void DoExit() override;
  LRESULT DialogCode(classlib::TMessage& Message) override;

 private:
  void SyncScrollBar();

  classlib::TScrollBar scroll_{nullptr};
  TTabdlg* dialog_ = nullptr;
};

}  // namespace corvane
