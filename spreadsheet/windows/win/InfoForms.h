// The small windows of the spreadsheet program: the splash and about window
// Topenup, the tip window TTipform, the document information dialog TDocinfo
// and the system metrics dialog TStatusDlg. Their values and rules are in
// InfoWindows.h; these forms only lay out controls and copy values.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "classlib/win/StdCtrls.h"
#include "spreadsheet/windows/InfoWindows.h"

namespace corvane {

// Set once start-up has ended; the splash window's button closes it then
// (as the about window) and only sets it before.
bool& ProgramStarted();

class Topenup : public classlib::TForm {
 public:
  explicit Topenup(classlib::TComponent* AOwner);
  classlib::TButton Button1{nullptr};

 protected:
  void PaintWindow(HDC dc) override;
};

class TTipform : public classlib::TForm {
 public:
  explicit TTipform(classlib::TComponent* AOwner);
  // Reads the tips file; false when it does not exist.
  bool LoadTips(const std::string& path);
  // Shows tip n in the list.
  void ShowTip(int n);
  int CurrentTip() const { return tip_; }

  classlib::TLabel Number{nullptr};
  classlib::TLabel Title{nullptr};
  classlib::TListBox List{nullptr};
  classlib::TCheckBox ShowAtStart{nullptr};
  classlib::TButton Next{nullptr};
  classlib::TButton Ok{nullptr};

 private:
  TTipFile tips_;
  int tip_ = 0;
};

class TDocinfo : public classlib::TForm {
 public:
  explicit TDocinfo(classlib::TComponent* AOwner);
  // Shows the active document's information; on "&Ok" it goes back into the
  // document, which is marked modified. False when cancelled.
  bool Edit();

  classlib::TLabel RevisedBy{nullptr};
  classlib::TLabel Created{nullptr};
  classlib::TEdit TitleEdit{nullptr};
  classlib::TMemo Comments{nullptr};
  classlib::TButton Ok{nullptr};
  classlib::TButton Cancel{nullptr};

 private:
  classlib::TLabel titleLabel_{nullptr};
  classlib::TLabel commentsLabel_{nullptr};
};

class TStatusDlg : public classlib::TForm {
 public:
  explicit TStatusDlg(classlib::TComponent* AOwner);
  // Fills the texts from the machine and the active worksheet and shows the
  // dialog modally.
  void Execute();
  std::string Value(int row) const;

  classlib::TButton Ok{nullptr};

 private:
  std::vector<std::unique_ptr<classlib::TLabel>> captions_;
  std::vector<std::unique_ptr<classlib::TLabel>> values_;
};

}  // namespace corvane
