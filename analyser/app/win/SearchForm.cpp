// The file search window and its worker thread.
#include "analyser/app/win/SearchForm.h"

#include <commdlg.h>
#include <shellapi.h>

#include <cctype>
#include <fstream>
#include <memory>
#include <set>

#include "analyser/app/ScanRules.h"
#include "analyser/app/win/Export.h"
#include "analyser/app/win/FileListing.h"
#include "analyser/app/win/FormLayout.h"
#include "analyser/app/win/RegistryStore.h"
#include "analyser/app/win/ShellText.h"
#include "classlib/win/Application.h"
#include "classlib/win/Dialogs.h"

namespace foldwick {

namespace {

constexpr char kProductTitle[] = "Kestrum Professional";
constexpr char kResultsTitle[] = "Kestrum Professional Search Results";
constexpr char kEditableDrive[] = "\\\\host\\share";
constexpr int kOptionsTab = 0;
// Deeper than any path can go; stops a folder structure that loops.
constexpr int kMaxDepth = 256;
// The status shows a folder's path only when it is shorter than this.
constexpr size_t kStatusPathLength = 40;

const char* const kResultCaptions[kResultListCount] = {"&Biggest Files", "&Oldest Files", "&Temporary Files"};
// Where each result list keeps its column layout, below the settings key.
const char* const kResultLayoutKeys[kResultListCount] = {"\\Biggest File List", "\\Oldest File List",
                                                         "\\Temporary File List"};
// M: E is the pattern list's Edit button.
const char* const kTypeCaptions[kResultListCount] = {"B&iggest Files", "O&ldest Files", "Te&mporary Files"};

struct TResultColumn {
  const char* caption;
  int width;
  classlib::TAlignment alignment;
};
constexpr TResultColumn kResultColumns[] = {{"Name", 140, classlib::TAlignment::taLeftJustify},
                                            {"Folder", 200, classlib::TAlignment::taLeftJustify},
                                            {"Size", 70, classlib::TAlignment::taRightJustify},
                                            {"Last Change", 90, classlib::TAlignment::taRightJustify},
                                            {"Last Access", 90, classlib::TAlignment::taRightJustify}};

TFileTime FileTimeNow() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return ToFileTime(now);
}

// A local date as a file time in UTC.
TFileTime LocalDateToFileTime(const SYSTEMTIME& date) {
  FILETIME local, utc;
  if (!SystemTimeToFileTime(&date, &local) || !LocalFileTimeToFileTime(&local, &utc)) return 0;
  return ToFileTime(utc);
}

int SmallIconOf(const std::wstring& path) {
  SHFILEINFOW info = {};
  return SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON) ? info.iIcon : -1;
}

template <class Text>
Text WithoutTrailingSlash(Text path) {
  if (path.size() > 1 && path.back() == '\\') path.pop_back();
  return path;
}

}  // namespace

// ---- TSearchThread ----

TSearchThread::TSearchThread(TSearchForm& form, const TSearchParams& params, std::vector<TRootFolder> roots,
                             std::vector<std::string> patterns)
    : classlib::TThread(true), form_(form), params_(params), roots_(std::move(roots)) {
  for (const std::string& p : patterns) masks_.push_back(WideFromAnsi(TemporaryMask(p)));
}

void TSearchThread::Execute() {
  for (const TRootFolder& root : roots_) {
    if (Terminated()) return;
    ShowStatus("Searching " + AnsiFromUtf8(root.caption) + " ...");
    SearchFolder(root.path, 0);
  }
  // The rows found before a stop are shown too.
  HandOver(true);
}

void TSearchThread::ShowStatus(const std::string& text) {
  path_.clear();
  HandOver(true);
  if (!Synchronize([this, &text] { form_.SetSearchStatus(text); })) Terminate();
}

void TSearchThread::ShowPath(const std::wstring& path) {
  if (path.size() < kStatusPathLength) {
    path_ = AnsiFromWide(path.c_str());
    HandOver(false);
  }
}

void TSearchThread::HandOver(bool now) {
  constexpr DWORD kHandOverMs = 100;
  constexpr size_t kMostRows = 1000;  // what the window adds in a moment
  if (rows_.empty() && path_.empty()) return;
  if (!now && GetTickCount() - handed_ < kHandOverMs && rows_.size() < kMostRows) return;
  if (!Synchronize([this] {
        if (!rows_.empty()) form_.AddFoundRows(rows_);
        if (!path_.empty()) form_.SetSearchStatus(path_);
      }))
    Terminate();
  rows_.clear();
  path_.clear();
  handed_ = GetTickCount();
}

void TSearchThread::SearchFolder(const std::wstring& path, int depth) {
  ShowPath(path);
  // Folders that cannot be listed are passed over.
  ListFolder(path, L"*", [&](const WIN32_FIND_DATAW& found) {
    if (Terminated()) return false;
    const bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const bool reparse = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    switch (RoleOfEntry(Utf8FromWide(found.cFileName), folder, reparse)) {
      case TEntryRole::kSkip:
        return true;
      case TEntryRole::kEnter:
        if (depth < kMaxDepth) {
          SearchFolder(JoinPath(path, found.cFileName), depth + 1);
          ShowPath(path);
        }
        return !Terminated();
      case TEntryRole::kTest:
        break;
    }
    const TFileTime access = ToFileTime(found.ftLastAccessTime);
    const TFileTime write = ToFileTime(found.ftLastWriteTime);
    if (params_.searchOldest && IsOldestFile(params_, access, write)) AddRow(kOldestList, found, path);
    const std::uint64_t size = (std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
    if (params_.searchBiggest && IsBiggestFile(params_, size)) AddRow(kBiggestList, found, path);
    return !Terminated();
  });
  if (!params_.searchTemporary) return;
  for (const std::wstring& mask : masks_) {
    if (Terminated()) return;
    ListFolder(path, mask, [&](const WIN32_FIND_DATAW& found) {
      if (Terminated()) return false;
      // A folder whose name holds a pattern is no temporary file.
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return true;
      if (IsStaleTemporary(params_, ToFileTime(found.ftLastAccessTime))) AddRow(kTemporaryList, found, path);
      return !Terminated();
    });
  }
}

void TSearchThread::AddRow(int list, const WIN32_FIND_DATAW& found, const std::wstring& folder) {
  TFoundFile file;
  file.name = Utf8FromWide(found.cFileName);
  file.folder = Utf8FromWide(folder.c_str());
  file.size = (std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
  file.lastAccess = ToFileTime(found.ftLastAccessTime);
  file.lastWrite = ToFileTime(found.ftLastWriteTime);
  rows_.emplace_back(list, std::move(file));
  HandOver(false);
}

// ---- TSearchForm ----

TSearchForm::TSearchForm(classlib::TComponent* AOwner) : classlib::TForm(AOwner, "File Search") {
  Position = classlib::TPosition::poDesigned;
  SetBounds(60, 50, 640, 460);

  shell_ = new TShellBrowser(this);
  SHFILEINFOA info = {};
  systemImages_ = new classlib::TImageList(this);
  systemImages_->ShareImages = true;
  systemImages_->SetHandle(reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON)));

  status_ = new TAdvStatusBar(this);
  status_->SetParent(this);
  status_->SetPanelWidths({220, 200});

  // The pages come before the button row below them, for Tab.
  pages_ = new TPageControl(this);
  pages_->SetAlign(classlib::alClient);
  pages_->SetParent(this);
  BuildOptionsPage(pages_->AddPage("Search O&ptions"));
  for (int list = 0; list < kResultListCount; ++list)
    results_[list] = MakeResultList(pages_->AddPage(kResultCaptions[list]), list);
  pages_->OnChange = [this](classlib::TObject*) { TabChanged(); };

  auto* buttons = new classlib::TPanel(this);
  buttons->SetBevelOuter(classlib::TBevelCut::bvNone);
  buttons->SetHeight(40);
  buttons->SetAlign(classlib::alBottom);
  buttons->SetParent(this);
  animation_ = Place(new TSearchAnimation(this), *buttons, 8, 8, 56, 24);
  animation_->SetVisible(false);
  startButton_ = MakeButton(this, *buttons, "&Start", 104, 8, 80, [this](auto) { StartClick(); });
  startButton_->SetDefault(true);
  // Stop takes S, which Start has only while no search runs (the two are
  // never enabled together): T is the Temporary Files tab's.
  stopButton_ = MakeButton(this, *buttons, "&Stop", 188, 8, 80, [this](auto) { StopClick(); });
  stopButton_->SetEnabled(false);
  saveButton_ = MakeButton(this, *buttons, "Save &Results", 272, 8, 96, [this](auto) { SaveResultsClick(); });
  saveButton_->SetEnabled(false);
  // C: D is the pattern list's Delete button.
  deleteButton_ = MakeButton(this, *buttons, "Delete &Checked", 372, 8, 104, [this](auto) { DeleteCheckedClick(); });
  MakeButton(this, *buttons, "Hide &Window", 480, 8, 96, [this](auto) { Close(); })->Cancel = true;

  // Ctrl+Tab turns the pages from any control.
  KeyPreview = true;
  OnKeyDown = [this](classlib::TObject*, int& key, classlib::TShiftState shift) {
    if (pages_->PageKey(key, shift)) key = 0;
  };

  OnShow = [this](classlib::TObject*) { FormShow(); };
  OnClose = [this](classlib::TObject*, classlib::TCloseAction& action) {
    FormClose();
    action = classlib::caHide;
  };

  // The place and size of the last time, and the temporary patterns.
  TRegistryStore store;
  const TSearchBounds bounds = ReadSearchBounds(store, {Left(), Top(), Width(), Height()});
  SetBounds(bounds.left, bounds.top, bounds.width, bounds.height);
  TRegistryStore patternStore(std::string(kSettingsKey) + "\\TempPatterns");
  patterns_->SetItems(LoadTempPatterns(patternStore));
  pages_->SetActivePageIndex(kOptionsTab);
}

TSearchForm::~TSearchForm() {
  if (search_ != nullptr) {
    search_->Terminate();
    WaitForSearch();
  }
  for (TExtListView* list : results_)
    if (list != nullptr) list->Clear();
}

void TSearchForm::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  // A taskbar button of its own.
  Params.ExStyle |= WS_EX_APPWINDOW;
}

void TSearchForm::BuildOptionsPage(classlib::TWinControl& page) {
  MakeLabel(this, page, "Search on:", 8, 8, 200);
  drives_ = new TExtListView(this);
  // The rows carry their captions and folders as UTF-8, shown whole.
  drives_->Utf8Text = true;
  Place(drives_, page, 8, 26, 220, 300);
  drives_->AddColumn("Drive", 140, classlib::TAlignment::taLeftJustify);
  drives_->AddColumn("Path", 70, classlib::TAlignment::taLeftJustify);
  drives_->SetExtendedStyles(lvxCheckboxes | lvxFullRowSelect);
  drives_->SetSmallImages(systemImages_);
  drives_->HideSelection = false;
  drives_->OnDblClick = [this](classlib::TObject*) { DriveRowEdit(); };
  drives_->OnKeyDown = [this](classlib::TObject*, int& key, classlib::TShiftState) {
    if (key == VK_F2) {
      key = 0;
      DriveRowEdit();
    }
  };

  // Each search type's check and then what it searches by, so that Tab
  // goes through them in reading order.
  const int x = 244;
  auto typeCheck = [&](int list) {
    types_[list] = Place(new classlib::TCheckBox(this), page, x, 8 + list * 72, 160, 20);
    types_[list]->SetCaption(kTypeCaptions[list]);
    types_[list]->SetChecked(true);
  };
  typeCheck(kBiggestList);
  MakeLabel(this, page, "larger than", x + 20, 34, 70);
  minimumSize_ = Place(new TSpinEdit(this), page, x + 92, 31, 64, 22);
  minimumSize_->MaxValue = 999999;
  minimumSize_->SetValue(10);
  sizeUnit_ = Place(new classlib::TComboBox(this), page, x + 162, 31, 56, 22);
  sizeUnit_->Style = classlib::TComboBoxStyle::csDropDownList;
  sizeUnit_->SetItems({"Kb", "Mb"});
  sizeUnit_->SetItemIndex(1);

  typeCheck(kOldestList);
  oldestMode_ = Place(new classlib::TComboBox(this), page, x + 20, 103, 110, 22);
  oldestMode_->Style = classlib::TComboBoxStyle::csDropDownList;
  oldestMode_->SetItems({"not accessed", "not changed"});
  oldestMode_->SetItemIndex(kNotAccessed);
  MakeLabel(this, page, "since", x + 136, 106, 34);
  dateLimit_ = Place(new TDateTimePicker(this), page, x + 172, 103, 110, 22);
  SYSTEMTIME yearAgo;
  GetLocalTime(&yearAgo);
  yearAgo.wYear = static_cast<WORD>(yearAgo.wYear - 1);
  if (yearAgo.wMonth == 2 && yearAgo.wDay == 29) yearAgo.wDay = 28;
  dateLimit_->SetDate(yearAgo);

  typeCheck(kTemporaryList);
  MakeLabel(this, page, "Names containing:", x + 20, 178, 160);
  patterns_ = Place(new classlib::TListBox(this), page, x + 20, 196, 170, 110);
  patterns_->OnDblClick = [this](classlib::TObject*) { EditPattern(); };
  MakeButton(this, page, "&New", x + 198, 196, 72, [this](auto) { NewPattern(); });
  MakeButton(this, page, "&Edit", x + 198, 226, 72, [this](auto) { EditPattern(); });
  MakeButton(this, page, "&Delete", x + 198, 256, 72, [this](auto) { DeletePattern(); });
}

TExtListView* TSearchForm::MakeResultList(classlib::TWinControl& page, int index) {
  auto* list = new TExtListView(this);
  for (const TResultColumn& c : kResultColumns) list->AddColumn(c.caption, c.width, c.alignment);
  list->SetExtendedStyles(lvxCheckboxes | lvxFullRowSelect | lvxGridLines | lvxHeaderDragDrop);
  list->SetSmallImages(systemImages_);
  list->SetAutoColumnSort(TAutoColumnSort::acsSortToggle);
  list->HideSelection = false;
  // The rows carry the names as UTF-8, shown whole.
  list->Utf8Text = true;
  list->SetAlign(classlib::alClient);
  list->SetParent(&page);
  list->SaveSettings.AutoSave = true;
  list->SaveSettings.RegistryKey = std::string(kSettingsKey) + kResultLayoutKeys[index];
  list->Loaded();
  list->OnDeletion = [this, index](classlib::TObject*, classlib::TListItem* item) {
    if (const auto* file = static_cast<const TFoundFile*>(item->Data)) {
      listKB_[index] -= static_cast<std::uint64_t>(RoundedKB(file->size));
      delete file;
    }
    item->Data = nullptr;
  };
  list->OnKeyDown = [this, list](classlib::TObject*, int& key, classlib::TShiftState) { ResultKeyDown(*list, key); };
  return list;
}

void TSearchForm::ResultKeyDown(TExtListView& list, int& key) {
  // Space checks the focused row and moves on to the next.
  if (key != VK_SPACE) return;
  key = 0;
  const int focused = static_cast<int>(
      SendMessageA(list.Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  if (focused < 0) return;
  classlib::TListItem* item = list.Item(focused);
  SetItemChecked(list, item, !ItemChecked(list, item));
  if (focused + 1 < list.Count()) {
    item->SetFocused(false);
    item->SetSelected(false);
    classlib::TListItem* next = list.Item(focused + 1);
    next->SetFocused(true);
    next->SetSelected(true);
    SendMessageA(list.Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(focused + 1), FALSE);
  }
}

void TSearchForm::FormShow() { FillDrives(); }

void TSearchForm::FormClose() {
  WINDOWPLACEMENT place = {sizeof place};
  TSearchBounds bounds{Left(), Top(), Width(), Height()};
  if (HandleAllocated() && GetWindowPlacement(Handle(), &place)) {
    const RECT& r = place.rcNormalPosition;
    bounds = {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  TRegistryStore store;
  WriteSearchBounds(store, bounds);
  TRegistryStore patternStore(std::string(kSettingsKey) + "\\TempPatterns");
  SaveTempPatterns(patternStore, patterns_->Items());
}

void TSearchForm::FillDrives() {
  // The drives of the shell's drives folder, each once; then the row that
  // stands for any folder or network share.
  std::vector<std::string> listed;
  for (int i = 0; i < drives_->Count(); ++i)
    if (!drives_->Item(i)->SubItems.empty()) listed.push_back(drives_->Item(i)->SubItems[0]);
  try {
    shell_->SetFolder("");
    while (shell_->NextObject()) {
      const std::string caption = Utf8FromAnsi(shell_->GetDisplayName());
      const std::string path = Utf8FromAnsi(shell_->ObjectName());
      if (caption.find(':') == std::string::npos || path.empty()) continue;
      if (std::find(listed.begin(), listed.end(), path) != listed.end()) continue;
      listed.push_back(path);
      classlib::TListItem* row = drives_->Add();
      row->Caption = caption;
      row->SubItems = {path};
      row->ImageIndex = shell_->IconNumber();
      row->Update();
      SetItemChecked(*drives_, row, caption.find('C') != std::string::npos);
    }
  } catch (const EShellBrowserError&) {
    // Without the drives folder only the editable row is offered.
  }
  if (editableRow_ == nullptr) {
    editableRow_ = drives_->Add();
    editableRow_->Caption = kEditableDrive;
    editableRow_->SubItems = {""};
    editableRow_->Update();
  }
}

void TSearchForm::DriveRowEdit() {
  if (editableRow_ == nullptr || drives_->Selected() != editableRow_) return;
  std::string text = editableRow_->SubItems.empty() || editableRow_->SubItems[0].empty() ? editableRow_->Caption
                                                                                        : editableRow_->SubItems[0];
  if (classlib::InputQueryUtf8("File Search", "Folder or network share to search:", text)) EditDriveRow(text);
}

bool TSearchForm::EditDriveRow(const std::string& text) {
  // Looked up as wide text, so that a folder named in any script is found.
  std::wstring path;
  if (TIdList list = PathToPIDL(nullptr, WideFromUtf8(text))) {
    try {
      shell_->SetFolderPIDL(list.get());
      path = IdListWidePath(list.get());
    } catch (const EShellBrowserError&) {
    }
  }
  if (path.empty() || editableRow_ == nullptr) {
    classlib::MessageDlg("Cannot Find " + AnsiFromUtf8(text));
    return false;
  }
  editableRow_->Caption = text;
  editableRow_->SubItems = {Utf8FromWide(WithoutTrailingSlash(path).c_str())};
  editableRow_->ImageIndex = SmallIconOf(path);
  editableRow_->Update();
  SetItemChecked(*drives_, editableRow_, true);
  return true;
}

TSearchParams TSearchForm::TakeParams() {
  TSearchParams p;
  p.recentLimit = RecentLimit(FileTimeNow());
  p.dateLimit = LocalDateToFileTime(dateLimit_->Date());
  p.oldestMode = oldestMode_->ItemIndex() == kNotChanged ? kNotChanged : kNotAccessed;
  p.minimumSize = MinimumSizeBytes(minimumSize_->Value(), sizeUnit_->ItemIndex() == 1);
  p.searchBiggest = types_[kBiggestList]->Checked();
  p.searchOldest = types_[kOldestList]->Checked();
  p.searchTemporary = types_[kTemporaryList]->Checked();
  return p;
}

void TSearchForm::WaitForSearch() {
  // The worker may be handing a row over: messages go on while waiting, and
  // its end clears the reference.
  while (search_ != nullptr) classlib::ProcessMessagesUntil([this] { return search_ == nullptr; }, 1000);
}

void TSearchForm::StartClick() {
  // A click while the old search is being waited for starts nothing more.
  if (stopping_) return;
  if (search_ != nullptr) {
    stopping_ = true;
    search_->Terminate();
    WaitForSearch();
    stopping_ = false;
  }
  const TSearchParams params = TakeParams();
  if (!params.AnyType()) {
    classlib::MessageDlg("No search type selected!");
    return;
  }
  for (TExtListView* list : results_) list->Clear();
  std::vector<TSearchThread::TRootFolder> roots;
  for (int i = 0; i < drives_->Count(); ++i) {
    classlib::TListItem* row = drives_->Item(i);
    if (!ItemChecked(*drives_, row) || row->SubItems.empty() || row->SubItems[0].empty()) continue;
    roots.push_back({row->Caption, WideFromUtf8(WithoutTrailingSlash(row->SubItems[0]))});
  }
  search_ = new TSearchThread(*this, params, std::move(roots), patterns_->Items());
  search_->FreeOnTerminate = true;
  search_->OnTerminate = [this](classlib::TObject*) { SearchDone(); };
  search_->Start();
  // Stop takes Start's place, and the keyboard if Start had it: a disabled
  // button would leave the window without it.
  stopButton_->SetEnabled(true);
  if (startButton_->Focused()) stopButton_->SetFocus();
  startButton_->SetEnabled(false);
  animation_->Show();
  animation_->SetActive(true);
  // The keyboard goes with the options page when the results take its
  // place.
  if (pages_->ActivePageIndex() == kOptionsTab) pages_->ChoosePage(kOptionsTab + 1);
  UpdateTabStatus();
}

void TSearchForm::StopClick() {
  if (search_ != nullptr) search_->Terminate();
}

void TSearchForm::SearchDone() {
  search_ = nullptr;
  startButton_->SetEnabled(true);
  if (stopButton_->Focused()) startButton_->SetFocus();
  status_->SetPanelText(1, "");
  UpdateTabStatus();
  animation_->SetActive(false);
  animation_->Hide();
  MessageBeep(0);
}

void TSearchForm::SetSearchStatus(const std::string& text) { status_->SetPanelText(1, text); }

void TSearchForm::AddFoundRows(const std::vector<std::pair<int, TFoundFile>>& rows) {
  for (TExtListView* view : results_) view->BeginUpdate();
  for (const auto& [list, file] : rows) {
    classlib::TListItem* row = results_[list]->Add();
    row->Caption = file.name;
    row->SubItems = FoundRowSubItems(file, [](TFileTime time) { return Utf8FromAnsi(FileTimeToText(time)); },
                                     [](const std::string& text) { return text; });
    row->Data = new TFoundFile(file);
    listKB_[list] += static_cast<std::uint64_t>(RoundedKB(file.size));
    row->ImageIndex = FoundFileIcon(file);
    row->Update();
  }
  for (TExtListView* view : results_) view->EndUpdate();
  UpdateTabStatus();
}

int TSearchForm::FoundFileIcon(const TFoundFile& file) {
  // The shell takes milliseconds per file to find an icon, most of them the
  // icon of the file's type: that is asked once per extension. Programs,
  // icons, cursors and links show icons of their own and are asked each.
  std::string extension;
  if (const size_t dot = file.name.rfind('.'); dot != std::string::npos) extension = file.name.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  static const std::set<std::string> kOwnIcons = {"exe", "ico", "cur", "ani", "lnk", "url", "scr", "pif"};
  const bool ownIcon = kOwnIcons.count(extension) > 0;
  if (!ownIcon)
    if (const auto known = typeIcons_.find(extension); known != typeIcons_.end()) return known->second;
  SHFILEINFOW info = {};
  if (!SHGetFileInfoW(WideFromUtf8(file.FullName()).c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
    return -1;
  if (!ownIcon) typeIcons_[extension] = info.iIcon;
  return info.iIcon;
}

TExtListView* TSearchForm::ActiveList() {
  const int page = pages_->ActivePageIndex();
  return page > kOptionsTab && page <= kResultListCount ? results_[page - 1] : nullptr;
}

void TSearchForm::TabChanged() { UpdateTabStatus(); }

void TSearchForm::UpdateTabStatus() {
  const int page = pages_->ActivePageIndex();
  TExtListView* list = ActiveList();
  const int rows = list != nullptr ? list->Count() : 0;
  // Save goes with a list that has no rows; the keyboard on it moves on.
  if (rows == 0 && saveButton_->Focused()) classlib::FocusNextTabStop(Handle(), false);
  saveButton_->SetEnabled(rows > 0);
  char separator[8] = ".";
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator);
  status_->SetPanelText(0, TabStatusText(static_cast<size_t>(rows), rows > 0 ? listKB_[page - 1] : 0, separator));
  stopButton_->SetEnabled(search_ != nullptr);
}

void TSearchForm::SaveResultsClick() {
  TExtListView* list = ActiveList();
  if (list == nullptr || list->Count() == 0) return;
  // The wide dialog and a UTF-8 file: names in any script are kept.
  wchar_t file[MAX_PATH] = L"";
  const std::wstring title = WideFromAnsi(kResultsTitle);
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Handle();
  ofn.lpstrFilter = L"Text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrDefExt = L"txt";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
  if (!GetSaveFileNameW(&ofn)) return;
  std::vector<std::string> columns;
  for (int c = 0; c < list->ColumnCount(); ++c) columns.push_back(Utf8FromAnsi(list->ColumnCaption(c)));
  std::vector<std::vector<std::string>> rows;
  for (int i = 0; i < list->Count(); ++i) {
    const classlib::TListItem* item = list->Item(i);
    rows.push_back({item->Caption});
    rows.back().insert(rows.back().end(), item->SubItems.begin(), item->SubItems.end());
  }
  const std::string text = SearchResultsText(Utf8FromAnsi(kResultsTitle),
                                            Utf8FromAnsi(pages_->PageCaption(pages_->ActivePageIndex())), columns, rows);
  std::string error;
  if (!SaveTextToFile(Utf8FromWide(file), text, false, error)) classlib::MessageDlg(error, MB_OK | MB_ICONERROR);
}

void TSearchForm::DeleteCheckedClick() {
  classlib::TWaitCursor wait;
  std::vector<std::string> paths;
  for (TExtListView* list : results_)
    for (int i = 0; i < list->Count(); ++i) {
      classlib::TListItem* row = list->Item(i);
      if (ItemChecked(*list, row) && row->Data != nullptr) paths.push_back(static_cast<TFoundFile*>(row->Data)->FullName());
    }
  const std::string joined = DeleteList(paths);
  if (!joined.empty()) {
    // The list's zero separators survive the conversion piece by piece.
    std::wstring from;
    for (size_t start = 0; start < joined.size() && joined[start] != '\0';) {
      const size_t end = joined.find('\0', start);
      from += WideFromUtf8(joined.substr(start, end - start));
      from += L'\0';
      start = end + 1;
    }
    from += L'\0';
    const std::wstring title = WideFromAnsi(kProductTitle);
    SHFILEOPSTRUCTW op = {};
    op.hwnd = classlib::Application().Handle();
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO;
    op.lpszProgressTitle = title.c_str();
    if (SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted) {
      for (TExtListView* list : results_) {
        list->BeginUpdate();
        for (int i = list->Count() - 1; i >= 0; --i)
          if (ItemChecked(*list, list->Item(i))) list->Delete(list->Item(i));
        list->EndUpdate();
      }
    }
  }
  UpdateTabStatus();
}

void TSearchForm::NewPattern() {
  patterns_->SetItemIndex(patterns_->Add("New Pattern"));
  EditPattern();
}

void TSearchForm::EditPattern() {
  const int index = patterns_->ItemIndex();
  if (index < 0) return;
  std::string text = patterns_->Item(index);
  // An empty pattern would match every file and end the stored list.
  if (!classlib::InputQuery("File Search", "Temporary file pattern:", text) || text.empty()) return;
  patterns_->Delete(index);
  std::vector<std::string> items = patterns_->Items();
  items.insert(items.begin() + index, text);
  patterns_->SetItems(items);
  patterns_->SetItemIndex(index);
}

void TSearchForm::DeletePattern() {
  const int index = patterns_->ItemIndex();
  if (index < 0) return;
  patterns_->Delete(index);
  if (patterns_->Count() > 0) patterns_->SetItemIndex(std::min(index, patterns_->Count() - 1));
}

}  // namespace foldwick
