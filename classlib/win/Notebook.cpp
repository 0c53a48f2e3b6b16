// The notebook and its pages.
#include "classlib/win/Notebook.h"

namespace classlib {

TPage::TPage(TComponent* AOwner) : TWinControl(AOwner) {}

void TPage::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = "TPage";
  // Tab and the dialog keys move into the page's controls.
  Params.ExStyle |= WS_EX_CONTROLPARENT;
}

TNotebook::TNotebook(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 150, 150); }

void TNotebook::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = "TNotebook";
  Params.ExStyle |= WS_EX_CONTROLPARENT;
}

TPage& TNotebook::AddPage(const std::string& name) {
  auto* page = new TPage(this);
  page->Name = name;
  page->SetColor(Color());
  page->SetVisible(pages_.empty());
  page->SetAlign(alClient);
  page->SetParent(this);
  pages_.push_back(page);
  if (pageIndex_ < 0) pageIndex_ = 0;
  return *page;
}

TPage& TNotebook::Pages(int index) const {
  CL_ASSERT(index >= 0 && index < PageCount());
  return *pages_.at(static_cast<size_t>(index));
}

void TNotebook::SetPageIndex(int index) {
  if (!CL_CHECK(index >= 0 && index < PageCount())) return;
  // The new page shows before the old one hides, so that the notebook never
  // flashes empty.
  TPage& shown = *pages_[static_cast<size_t>(index)];
  shown.Show();
  // The keyboard never stays on a control of a page that goes: it moves to
  // the new page's first control.
  const HWND focus = GetFocus();
  bool focusGoes = false;
  for (int i = 0; i < PageCount(); ++i) {
    if (i == index) continue;
    TPage& page = *pages_[static_cast<size_t>(i)];
    focusGoes = focusGoes || (focus != nullptr && page.HandleAllocated() && IsChild(page.Handle(), focus));
    page.Hide();
  }
  pageIndex_ = index;
  if (focusGoes && !(shown.HandleAllocated() && FocusFirstTabStop(shown.Handle())))
    if (TForm* form = GetParentForm()) form->FocusFirstControl();
}

}  // namespace classlib
