// The splash, tip, document information and system metrics windows.
#include "spreadsheet/windows/win/InfoForms.h"

#include <cstdio>
#include <cstdlib>
#include <random>

#include "classlib/win/Bitmap.h"
#include "classlib/win/GdiCanvas.h"
#include "spreadsheet/engine/EnginePlatform.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/WorksheetFileState.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr const char* kSplashNotice = "Spreadsheet, graphs, data and macros in one program";

std::string ReadTextFile(const std::string& path, bool& found) {
  std::string text;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  found = file != nullptr;
  if (!found) return text;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
  std::fclose(file);
  return text;
}

void PlaceButton(TButton& button, TForm* form, const char* caption, int x, int y, int width = 75) {
  button.SetParent(form);
  button.SetCaption(caption);
  button.SetBounds(x, y, width, 25);
}

void PlaceLabel(TLabel& label, TForm* form, const std::string& caption, int x, int y, int width) {
  label.SetParent(form);
  label.SetCaption(caption);
  label.SetBounds(x, y, width, 16);
}

}  // namespace

bool& ProgramStarted() {
  static bool started = false;
  return started;
}

// ---- Topenup -------------------------------------------------------------------

Topenup::Topenup(TComponent* AOwner) : TForm(AOwner, "") {
  BorderStyle = TFormBorderStyle::bsNone;
  Position = TPosition::poScreenCenter;
  SetColor(clBtnFace);
  SetBounds(0, 0, 340, 150);
  PlaceButton(Button1, this, "&Start Corvane", 222, 58, 100);
  // Shown as the about window, it goes with Escape as with its button.
  Button1.Cancel = true;
  Button1.OnClick = [this](TObject*) {
    if (ProgramStarted()) {
      Close();
    } else {
      ProgramStarted() = true;
    }
  };
}

void Topenup::PaintWindow(HDC dc) {
  TGdiCanvas canvas(dc);
  TRect r = ClientRect();
  // A three-pixel bevel: white at the top and left, grey at the bottom and right.
  for (int k = 0; k < 3; ++k) {
    canvas.Pen.Color = clWhite;
    canvas.MoveTo(r.Left + k, r.Bottom - 1 - k);
    canvas.LineTo(r.Left + k, r.Top + k);
    canvas.LineTo(r.Right - 1 - k, r.Top + k);
    canvas.Pen.Color = clGray;
    canvas.LineTo(r.Right - 1 - k, r.Bottom - 1 - k);
    canvas.LineTo(r.Left + k, r.Bottom - 1 - k);
  }
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.Font.Name = "Arial";
  canvas.Font.Style = fsBold;
  canvas.Font.Color = clRed;
  canvas.Font.SetSize(24);
  canvas.TextOut(8, 2, "Corvane");
  canvas.Font.SetSize(20);
  canvas.TextOut(8, 33, "for Win95/NT");
  canvas.Font.Name = "Ms Sans Serif";
  canvas.Font.Style = 0;
  canvas.Font.Color = clBlack;
  canvas.Font.SetSize(7);
  TSize notice = canvas.TextExtent(kSplashNotice);
  canvas.TextOut((r.Width() - notice.cx) / 2, r.Bottom - 18 - notice.cy, kSplashNotice);
}

// ---- TTipform -------------------------------------------------------------------

TTipform::TTipform(TComponent* AOwner) : TForm(AOwner, "  Corvane for Windows 95  ") {
  BorderStyle = TFormBorderStyle::bsDialog;
  Position = TPosition::poScreenCenter;
  SetBounds(0, 0, 420, 290);
  PlaceLabel(Number, this, "", 12, 10, 60);
  PlaceLabel(Title, this, "", 80, 10, 320);
  TFont bold = Title.Font();
  bold.Style = fsBold;
  Title.SetFont(bold);
  List.SetParent(this);
  List.SetColor(clWhite);
  List.SetBounds(12, 32, 390, 170);
  ShowAtStart.SetParent(this);
  ShowAtStart.SetCaption("&Show Tips at Startup");
  ShowAtStart.SetBounds(12, 216, 180, 20);
  ShowAtStart.SetChecked(ProgramSettings().Tips);
  ShowAtStart.OnClick = [this](TObject*) { ProgramSettings().Tips = ShowAtStart.Checked(); };
  PlaceButton(Next, this, "&Next >>", 246, 214);
  PlaceButton(Ok, this, "&Ok", 327, 214);
  Ok.ModalResult = mrOk;
  Ok.SetDefault(true);
  Ok.Cancel = true;
  Next.OnClick = [this](TObject*) { ShowTip(tips_.NextTip(tip_)); };
}

bool TTipform::LoadTips(const std::string& path) {
  bool found = false;
  std::string text = ReadTextFile(path, found);
  if (!found) return false;
  tips_.Load(text);
  ShowAtStart.SetChecked(ProgramSettings().Tips);
  std::random_device random;
  ShowTip(tips_.StartTip(tips_.Count() > 0 ? static_cast<int>(random() % static_cast<unsigned>(tips_.Count())) : 0));
  return true;
}

void TTipform::ShowTip(int n) {
  tip_ = n;
  Number.SetCaption("p " + std::to_string(n));
  List.Clear();
  const TTipFile::TTip* tip = tips_.Tip(n);
  Title.SetCaption(tip != nullptr ? tip->title : "");
  if (tip == nullptr) return;
  TBitmap measure(1, 1);
  measure.Canvas().Font = List.Font();
  auto width = [&measure](std::string_view text) { return measure.Canvas().TextExtent(text).cx; };
  for (const std::string& line : tip->lines)
    for (const std::string& wrapped : WrapTipLine(line, List.ClientWidth() - 24, width)) List.Add(wrapped);
}

// ---- TDocinfo -----------------------------------------------------------------------

TDocinfo::TDocinfo(TComponent* AOwner) : TForm(AOwner, "Document Info") {
  BorderStyle = TFormBorderStyle::bsDialog;
  Position = TPosition::poScreenCenter;
  SetBounds(0, 0, 380, 280);
  PlaceLabel(RevisedBy, this, "Revised By:", 12, 10, 350);
  PlaceLabel(Created, this, "Created:", 12, 30, 350);
  PlaceLabel(titleLabel_, this, "&Title:", 12, 56, 60);
  TitleEdit.SetParent(this);
  TitleEdit.SetBounds(76, 52, 284, 22);
  TitleEdit.SetMaxLength(static_cast<int>(kDocTitleMaxChars));
  titleLabel_.SetFocusControl(&TitleEdit);
  PlaceLabel(commentsLabel_, this, "Co&mments:", 12, 82, 100);
  Comments.SetParent(this);
  Comments.SetBounds(12, 100, 348, 100);
  Comments.SetMaxLength(static_cast<int>(kDocCommentsMaxChars));
  commentsLabel_.SetFocusControl(&Comments);
  PlaceButton(Ok, this, "&Ok", 204, 212);
  PlaceButton(Cancel, this, "&Cancel", 285, 212);
  Ok.ModalResult = mrOk;
  Ok.SetDefault(true);
  Cancel.ModalResult = mrCancel;
  Cancel.Cancel = true;
}

bool TDocinfo::Edit() {
  TDocInfoValues values = DocInfoValuesFor(CurrentFileState().info);
  RevisedBy.SetCaption("Revised By: " + values.revisedBy);
  Created.SetCaption("Created: " + values.created);
  TitleEdit.SetText(values.title);
  Comments.SetLines(values.commentLines);
  if (ShowModal() != mrOk) return false;
  values.title = TitleEdit.Text();
  values.commentLines = Comments.Lines();
  ApplyDocInfoValues(values, CurrentFileState().info);
  TWindowServices& ws = WindowServices();
  ws.MarkSheetModified(ws.ActiveSheet());
  ws.RepaintSheet(ws.ActiveSheet());
  return true;
}

// ---- TStatusDlg ----------------------------------------------------------------------

TStatusDlg::TStatusDlg(TComponent* AOwner) : TForm(AOwner, "System Metrics") {
  BorderStyle = TFormBorderStyle::bsDialog;
  Position = TPosition::poScreenCenter;
  static const char* kCaptions[] = {"Cmdline:", "Exe:", "Data:", "Version:", "Range:", "Name:",
                                    "Used:", "Memory:", "Total:", "Free:", "Processor:", ""};
  int rows = static_cast<int>(std::size(kCaptions)) - 1;
  SetBounds(0, 0, 420, 60 + rows * 20 + 40);
  for (int k = 0; k < rows; ++k) {
    captions_.push_back(std::make_unique<TLabel>(nullptr));
    values_.push_back(std::make_unique<TLabel>(nullptr));
    PlaceLabel(*captions_.back(), this, kCaptions[k], 12, 12 + k * 20, 80);
    // The paths (program, folder) may be longer than the line.
    values_.back()->PathEllipsis = true;
    PlaceLabel(*values_.back(), this, "", 96, 12 + k * 20, 300);
  }
  PlaceButton(Ok, this, "&Ok", 170, 20 + rows * 20);
  Ok.ModalResult = mrOk;
  Ok.SetDefault(true);
  Ok.Cancel = true;
}

std::string TStatusDlg::Value(int row) const {
  return row >= 0 && row < static_cast<int>(values_.size()) ? values_[static_cast<std::size_t>(row)]->Caption() : "";
}

void TStatusDlg::Execute() {
  TSystemFacts facts;
  for (int k = 1; k < __argc; ++k) facts.arguments.emplace_back(__argv[k]);
  char path[MAX_PATH] = {};
  facts.exePath = std::string(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  DWORD n = GetCurrentDirectoryA(MAX_PATH, path);
  facts.currentFolder = std::string(path, n < MAX_PATH ? n : 0);
  facts.version = EnginePlatform().VersionText();
  SYSTEM_INFO info = {};
  GetSystemInfo(&info);
  facts.processorType = static_cast<int>(info.dwProcessorType);
  TSystemMetricsValues v = SystemMetricsValuesFor(facts);
  const std::string* texts[] = {&v.cmdline, &v.exe,         &v.data,       &v.version,    &v.range,    &v.name,
                                &v.used,    &v.memoryUsed,  &v.memoryTotal, &v.memoryFree, &v.processor};
  for (std::size_t k = 0; k < values_.size() && k < std::size(texts); ++k) values_[k]->SetCaption(*texts[k]);
  ShowModal();
}

}  // namespace corvane
