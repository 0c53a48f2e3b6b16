// TNotebook: pages of controls, one shown at a time, switched by the program
// (a menu command or a tab bar of the owner's choosing). Each page is a
// TPage that fills the notebook; controls go on a page as on any parent.
#pragma once

#include <string>
#include <vector>

#include "classlib/win/Controls.h"

namespace classlib {

// One page of a notebook: a plain container in its notebook's colour.
class TPage : public TWinControl {
 public:
  explicit TPage(TComponent* AOwner);

 protected:
  void CreateParams(TCreateParams& Params) override;
};

class TNotebook : public TWinControl {
 public:
  explicit TNotebook(TComponent* AOwner);

  // Adds a page at the end, owned by the notebook and hidden unless it is the
  // first; gives the page.
  TPage& AddPage(const std::string& name);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  // The page at `index` (a broken invariant outside 0..PageCount()-1).
  TPage& Pages(int index) const;
  // The page shown; -1 while there are none.
  int PageIndex() const { return pageIndex_; }
  // Shows page `index` and hides the others; an index outside the pages is
  // refused (reported) and changes nothing.
  void SetPageIndex(int index);

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  std::vector<TPage*> pages_;
  int pageIndex_ = -1;
};

}  // namespace classlib
