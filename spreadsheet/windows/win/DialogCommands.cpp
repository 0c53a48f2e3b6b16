// The smaller dialogs' commands.
#include "spreadsheet/windows/win/DialogCommands.h"

#include "spreadsheet/windows/win/FindForm.h"
#include "spreadsheet/windows/win/SizeCopyForms.h"

namespace corvane {

using namespace classlib;

namespace {

// The frame's dialogs, made on first use; a component of the frame, so that
// the handlers never outlive what they point at.
class TDialogSet : public TComponent {
 public:
  TDialogSet(TForm& frame, std::function<TSheetView*()> activeView)
      : TComponent(&frame), frame_(frame), activeView_(std::move(activeView)) {}
  TFind& Find() { return Made(find_, [this] { return new TFind(&frame_); }); }
  TWideform& Wide() { return Made(wide_, [this] { return new TWideform(frame_, activeView_); }); }
  Tcopydlg& Copy() { return Made(copy_, [this] { return new Tcopydlg(frame_); }); }

 private:
  template <class Dialog, class Make>
  static Dialog& Made(Dialog*& dialog, Make make) {
    if (dialog == nullptr) dialog = make();
    return *dialog;
  }

  TForm& frame_;
  std::function<TSheetView*()> activeView_;
  TFind* find_ = nullptr;
  TWideform* wide_ = nullptr;
  Tcopydlg* copy_ = nullptr;
};

}  // namespace

void BindDialogCommands(TCommandTable& table, TForm& frame, std::function<TSheetView*()> activeView) {
  using C = TCommandId;
  auto* dialogs = new TDialogSet(frame, std::move(activeView));
  table.Bind(C::kFindReplace, [dialogs](int) { dialogs->Find().Open(); });
  // Colwidth has tag 1 and Rowheight tag 2: pages 0 and 1.
  auto wide = [dialogs](int tag) { dialogs->Wide().Open(tag - 1); };
  table.Bind(C::kColWidth, wide);
  table.Bind(C::kRowHeight, wide);
  table.Bind(C::kRangeCopySpecial, [dialogs](int) { dialogs->Copy().Open(); });
}

}  // namespace corvane
