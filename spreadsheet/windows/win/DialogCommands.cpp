// The smaller dialogs' commands.
#include "spreadsheet/windows/win/DialogCommands.h"

#include "spreadsheet/windows/win/FindForm.h"

namespace corvane {

using namespace classlib;

namespace {

// The frame's dialogs, made on first use; a component of the frame, so that
// the handlers never outlive what they point at.
class TDialogSet : public TComponent {
 public:
  explicit TDialogSet(TForm& frame) : TComponent(&frame), frame_(frame) {}
  TFind& Find() {
    if (find_ == nullptr) find_ = new TFind(&frame_);
    return *find_;
  }

 private:
  TForm& frame_;
  TFind* find_ = nullptr;
};

}  // namespace

void BindDialogCommands(TCommandTable& table, TForm& frame) {
  using C = TCommandId;
  auto* dialogs = new TDialogSet(frame);
  table.Bind(C::kFindReplace, [dialogs](int) { dialogs->Find().Open(); });
}

}  // namespace corvane
