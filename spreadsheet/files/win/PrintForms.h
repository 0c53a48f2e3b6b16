// The print dialog (Tmyprint), the preview window (TPviewdlg) and the printer
// status window (TAbortForm). Their values and rules are TPrintDialog's and
// TPreviewModel's; these forms copy them to and from their controls.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "classlib/win/Notebook.h"
#include "classlib/win/StdCtrls.h"
#include "spreadsheet/files/PrintDialog.h"

namespace corvane {

// A bar filled to a percentage, with the percentage in its middle.
class TGauge : public classlib::TPanel {
 public:
  explicit TGauge(classlib::TComponent* AOwner) : TPanel(AOwner) {}
  int Percent() const { return percent_; }
  void SetPercent(int percent);

 protected:
  void Paint(classlib::TCanvas& Canvas) override;

 private:
  int percent_ = 0;
};

// "Printer Status": the printer's name, the page and line progress and a
// gauge while a job runs; "Abort Printing" asks the job to stop.
class TAbortForm : public classlib::TForm {
 public:
  explicit TAbortForm(classlib::TComponent* AOwner);
  void Start(const std::string& printerName);
  void Progress(int percent, int lines, int page);
  bool Aborted() const { return aborted_; }

  classlib::TLabel PrinterLabel{nullptr};
  classlib::TLabel PageLabel{nullptr};
  classlib::TLabel LinesLabel{nullptr};
  TGauge Gauge{nullptr};
  classlib::TButton AbortButton{nullptr};

 private:
  bool aborted_ = false;
};

// The page area of the preview: the page, its shadow and the rubber band.
class TPreviewArea;

class TPviewdlg : public classlib::TForm {
 public:
  TPviewdlg(classlib::TComponent* AOwner, TPrintSheet& sheet, int mode);
  ~TPviewdlg() override;
  // Activation: zoom 1, page 1, the pages counted.
  void Start();
  int PageCount() const { return pageCount_; }
  int Page() const { return page_; }
  void ShowPage(int page);
  // "&Text (%) " left or Enter pressed: the scale held to 50..300, the pages
  // counted again and page 1 shown.
  void TextScaleEntered();
  void Fit();

  classlib::TPanel Bar{nullptr};
  classlib::TLabel PageCaption{nullptr};
  classlib::TComboBox PageBox{nullptr};
  classlib::TLabel OfLabel{nullptr};
  classlib::TButton AllButton{nullptr};
  classlib::TButton PrintPageButton{nullptr};
  classlib::TButton PrintAllButton{nullptr};
  classlib::TLabel TextCaption{nullptr};
  classlib::TEdit TextEdit{nullptr};
  classlib::TButton FitButton{nullptr};
  classlib::TButton CloseButton{nullptr};
  classlib::TLabel ZoomLabel{nullptr};
  // The page area's window.
  HWND AreaHandle() const;

 private:
  friend class TPreviewArea;
  int CountPages();
  void PrintPages(int page);

  TPrintSheet& sheet_;
  int mode_;
  TPageMetrics metrics_;
  std::unique_ptr<TPreviewArea> area_;
  TPreviewModel model_;
  int pageCount_ = 0;
  int page_ = 1;
};

class Tmyprint : public classlib::TForm {
 public:
  // `sheet` gives the active sheet as the engine prints it (null when no
  // sheet window is open).
  Tmyprint(classlib::TComponent* AOwner, std::function<std::unique_ptr<TPrintSheet>()> sheet);
  // Shows the dialog at its first page for the active sheet.
  void Open();
  const TPrintDialog& Values() const { return values_; }

  classlib::TNotebook Notebook{nullptr};
  // First page.
  classlib::TComboBox PrinterBox{nullptr};
  classlib::TGroupBox PageGroup{nullptr};
  classlib::TRadioButton AllButton{nullptr};
  classlib::TLabel AllLabel{nullptr};
  classlib::TRadioButton RangeButton{nullptr};
  classlib::TEdit RangeEdit{nullptr};
  classlib::TRadioButton GraphButton{nullptr};
  classlib::TComboBox GraphBox{nullptr};
  classlib::TCheckBox GridCheck{nullptr};
  classlib::TButton PrintButton{nullptr};
  classlib::TButton OptionsButton{nullptr};
  classlib::TButton SetupButton{nullptr};
  classlib::TButton PreviewButton{nullptr};
  classlib::TButton FileButton{nullptr};
  classlib::TButton CancelButton{nullptr};
  // Second page; the frames come before what they hold, so that they go
  // after it.
  classlib::TGroupBox MarginsGroup{nullptr}, BordersGroup{nullptr}, OptionsGroup{nullptr}, OrientationGroup{nullptr};
  classlib::TEdit TopEdit{nullptr}, LeftEdit{nullptr}, BottomEdit{nullptr}, RightEdit{nullptr};
  classlib::TButton DefaultsButton{nullptr};
  classlib::TEdit RowsEdit{nullptr}, ColsEdit{nullptr};
  classlib::TEdit HeaderEdit{nullptr}, FooterEdit{nullptr};
  classlib::TCheckBox HeaderLineCheck{nullptr}, FooterLineCheck{nullptr};
  classlib::TComboBox ScaleBox{nullptr};
  classlib::TCheckBox FrameCheck{nullptr}, MonoCheck{nullptr};
  classlib::TRadioButton PortraitButton{nullptr}, LandscapeButton{nullptr};
  classlib::TLabel ResolutionLabel{nullptr}, PixelsLabel{nullptr}, InchesLabel{nullptr};
  classlib::TButton OkButton{nullptr}, OptionsCancelButton{nullptr}, HelpButton{nullptr};

  // The commands, as their buttons run them.
  void PrintClick();
  void PreviewClick();
  void PrintToFile(const std::string& fileName);
  void OptionsOk();
  void ShowPage(int index);

 private:
  void BuildFirstPage(classlib::TPage& page);
  void BuildSecondPage(classlib::TPage& page);
  void ToControls();
  void FromControls();
  void ChoiceChanged();
  // Hides the dialog for a range prompt whose text goes into `field`.
  void PromptInto(classlib::TEdit& field, const std::string& caption);
  void ReportError();

  std::function<std::unique_ptr<TPrintSheet>()> sheet_;
  TPrintDialog values_;
  bool printing_ = false;
  std::vector<std::unique_ptr<classlib::TWinControl>> decorations_;
};

}  // namespace corvane
