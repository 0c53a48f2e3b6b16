// The smaller dialogs' commands.
#include "spreadsheet/windows/win/DialogCommands.h"

#include <memory>

#include "spreadsheet/windows/win/FindForm.h"
#include "spreadsheet/windows/win/GeneralForm.h"
#include "spreadsheet/windows/win/SizeCopyForms.h"

namespace corvane {

using namespace classlib;

namespace {

// The general settings dialog's view of the active sheet window.
class TViewGeneralSheet : public TGeneralSheet {
 public:
  TViewGeneralSheet(TSheetView& view, const TDialogHooks& hooks) : view_(view), hooks_(hooks) {}
  const TSheetView& View() const { return view_; }
  int GridLines() override { return view_.ActivePane().Grid(); }
  void SetGridLines(int mode) override { view_.ActivePane().SetGrid(mode); }
  bool ThreeD() override { return view_.Pane(1).D3on(); }
  void SetThreeD(bool on) override {
    for (int pane : {1, 2}) view_.Pane(pane).SetD3on(on);
  }
  int SheetCount() override { return view_.SheetCount(); }
  void SetSheetCount(int count) override {
    view_.SetSheetCount(count);
    view_.Repaint();
  }
  int DefaultRowHeight() override { return view_.ActivePane().DefHeight(); }
  int DefaultColumnWidth() override { return view_.ActivePane().DefWidth(); }
  void SetDefaultSizes(int rowHeight, int columnWidth) override {
    for (int pane : {1, 2}) {
      if (rowHeight >= 0) view_.Pane(pane).SetDefHeight(rowHeight);
      if (columnWidth >= 0) view_.Pane(pane).SetDefWidth(columnWidth);
    }
  }
  TSheetFont DefaultFont() override { return view_.DefaultFont(); }
  void SetDefaultFont(const TSheetFont& font) override { view_.SetDefaultFont(font); }
  void Refresh() override {
    view_.Repaint();
    if (hooks_.refreshIndicators) hooks_.refreshIndicators();
  }
  void RecentFilesChanged() override {
    if (hooks_.recentFilesChanged) hooks_.recentFilesChanged();
  }

 private:
  TSheetView& view_;
  const TDialogHooks& hooks_;
};

// The frame's dialogs, made on first use; a component of the frame, so that
// the handlers never outlive what they point at.
class TDialogSet : public TComponent {
 public:
  TDialogSet(TForm& frame, TDialogHooks hooks) : TComponent(&frame), frame_(frame), hooks_(std::move(hooks)) {}
  TFind& Find() { return Made(find_, [this] { return new TFind(&frame_); }); }
  TWideform& Wide() { return Made(wide_, [this] { return new TWideform(frame_, hooks_.activeView); }); }
  TGendlg& General() {
    return Made(general_, [this] { return new TGendlg(&frame_, [this] { return ActiveSheet(); }); });
  }
  Tcopydlg& Copy() { return Made(copy_, [this] { return new Tcopydlg(frame_); }); }

 private:
  template <class Dialog, class Make>
  static Dialog& Made(Dialog*& dialog, Make make) {
    if (dialog == nullptr) dialog = make();
    return *dialog;
  }

  // The active sheet window as the general settings see it; null when none.
  TGeneralSheet* ActiveSheet() {
    TSheetView* view = hooks_.activeView ? hooks_.activeView() : nullptr;
    if (view == nullptr) return nullptr;
    if (sheet_ == nullptr || &sheet_->View() != view) sheet_ = std::make_unique<TViewGeneralSheet>(*view, hooks_);
    return sheet_.get();
  }

  TForm& frame_;
  TDialogHooks hooks_;
  std::unique_ptr<TViewGeneralSheet> sheet_;
  TGendlg* general_ = nullptr;
  TFind* find_ = nullptr;
  TWideform* wide_ = nullptr;
  Tcopydlg* copy_ = nullptr;
};

}  // namespace

void BindDialogCommands(TCommandTable& table, TForm& frame, TDialogHooks hooks) {
  using C = TCommandId;
  auto* dialogs = new TDialogSet(frame, std::move(hooks));
  table.Bind(C::kFindReplace, [dialogs](int) { dialogs->Find().Open(); });
  // Colwidth has tag 1 and Rowheight tag 2: pages 0 and 1.
  auto wide = [dialogs](int tag) { dialogs->Wide().Open(tag - 1); };
  table.Bind(C::kColWidth, wide);
  table.Bind(C::kRowHeight, wide);
  table.Bind(C::kRangeCopySpecial, [dialogs](int) { dialogs->Copy().Open(); });
  // The Sheet menu's General items: tags 0 to 5 are the pages.
  for (C id : {C::kGeneralFormat, C::kGeneralOption, C::kGeneralTypeface, C::kGeneralColor, C::kGeneralFiles,
               C::kGeneralAdvanced})
    table.Bind(id, [dialogs](int tag) { dialogs->General().Open(tag); });
}

}  // namespace corvane
