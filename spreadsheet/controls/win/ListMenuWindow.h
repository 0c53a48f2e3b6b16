// ttabmenu: the list menu's window over TTabMenuModel. The owner sizes it
// from Maxwidth and Maxheight (measured in the control's font) and acts on
// OnEnterkey and OnEsckey.
#pragma once

#include <string>
#include <vector>

#include "spreadsheet/controls/ListMenu.h"
#include "spreadsheet/controls/win/OwnDrawnControl.h"

namespace corvane {

class ttabmenu : public TKeyedModelWindow<TTabMenuModel> {
 public:
  explicit ttabmenu(classlib::TComponent* AOwner);
  void SetItems(std::vector<std::string> items) { model_.SetItems(std::move(items)); }
  int ItemIndex() const { return model_.ItemIndex(); }
  void SetItemIndex(int i) { model_.SetItemIndex(i); }
  void SetCaption(const std::string& caption) { model_.SetCaption(caption); }
  int Maxwidth() const { return model_.Maxwidth(); }
  int Maxheight() const { return model_.Maxheight(); }
  // The hint of the selected item, when Hints has one.
  const std::string& Hint() const { return hint_; }
  void SetFont(const classlib::TFont& value) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint(classlib::TCanvas& Canvas) override { model_.Paint(Canvas, Focused()); }
  LRESULT DialogCode(classlib::TMessage& Message) override;

 private:
  void Measure();

  std::string hint_;
};

}  // namespace corvane
