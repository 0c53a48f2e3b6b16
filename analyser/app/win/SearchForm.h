// TSearchForm: the "File Search" window. It finds the biggest, the oldest
// and the temporary files on the checked drives with a TSearchThread and
// lists them on three result tabs, from which the results can be saved to a
// text file and checked files sent to the recycle bin. The window is made
// once and then shown and hidden; its place, size and temporary patterns
// are kept in the settings.
#pragma once

#include "classlib/win/Win32.h"

#include <map>
#include <string>
#include <vector>

#include "analyser/app/FileSearch.h"
#include "analyser/components/win/AdvSplitter.h"
#include "analyser/components/win/ExtListView.h"
#include "analyser/components/win/FormControls.h"
#include "analyser/components/win/ShellBrowser.h"
#include "classlib/win/StdCtrls.h"
#include "classlib/win/Thread.h"

namespace foldwick {

class TSearchForm;

// The result lists, in the order of their tabs after the options tab.
constexpr int kBiggestList = 0;
constexpr int kOldestList = 1;
constexpr int kTemporaryList = 2;
constexpr int kResultListCount = 3;

// The worker: searches the given folders with the parameters taken at the
// start and hands each found file to the window on the main thread. It stops
// at the next directory entry once asked, and frees itself when done.
class TSearchThread : public classlib::TThread {
 public:
  struct TRootFolder {
    std::string caption;  // the drive row's caption, UTF-8
    std::wstring path;    // without a trailing "\"
  };
  // Made suspended; Start runs it.
  TSearchThread(TSearchForm& form, const TSearchParams& params, std::vector<TRootFolder> roots,
                std::vector<std::string> patterns);

 protected:
  void Execute() override;

 private:
  void SearchFolder(const std::wstring& path, int depth);
  void AddRow(int list, const WIN32_FIND_DATAW& found, const std::wstring& folder);
  void ShowStatus(const std::string& text);
  void ShowPath(const std::wstring& path);
  // Hands the rows found and the path last reached to the window: at once
  // when `now`, else when the last hand-over is a while ago or many rows
  // wait. Each hand-over waits for the window, which repaints after it, so
  // one per found file or folder would let a big search crawl.
  void HandOver(bool now);

  TSearchForm& form_;
  const TSearchParams params_;
  const std::vector<TRootFolder> roots_;
  std::vector<std::wstring> masks_;  // the temporary patterns' find masks
  std::vector<std::pair<int, TFoundFile>> rows_;  // found, not handed over yet
  std::string path_;                              // reached, not shown yet
  DWORD handed_ = 0;                              // tick count of the last hand-over
};

class TSearchForm : public classlib::TForm {
 public:
  explicit TSearchForm(classlib::TComponent* AOwner);
  // A running search is stopped and waited for first.
  ~TSearchForm() override;

  bool Searching() const { return search_ != nullptr; }

  // The buttons.
  void StartClick();
  void StopClick();
  void SaveResultsClick();
  void DeleteCheckedClick();
  // The editable drive row takes the folder `text` (UTF-8) names, its icon
  // and a check; false (after "Cannot Find " and the text) when there is none.
  bool EditDriveRow(const std::string& text);

  // The parts, for the main window and the tests.
  TPageControl& Pages() { return *pages_; }
  TExtListView& Drives() { return *drives_; }
  TExtListView& Results(int list) { return *results_[list]; }
  classlib::TCheckBox& SearchType(int list) { return *types_[list]; }
  TSpinEdit& MinimumSize() { return *minimumSize_; }
  classlib::TComboBox& SizeUnit() { return *sizeUnit_; }
  classlib::TComboBox& OldestMode() { return *oldestMode_; }
  TDateTimePicker& DateLimit() { return *dateLimit_; }
  classlib::TListBox& TempPatterns() { return *patterns_; }
  classlib::TButton& StartButton() { return *startButton_; }
  classlib::TButton& StopButton() { return *stopButton_; }
  classlib::TButton& SaveButton() { return *saveButton_; }
  TAdvStatusBar& Status() { return *status_; }

  // On the main thread, from the worker: found files' rows, and the status
  // of the search.
  void AddFoundRows(const std::vector<std::pair<int, TFoundFile>>& rows);
  void SetSearchStatus(const std::string& text);

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  void BuildOptionsPage(classlib::TWinControl& page);
  TExtListView* MakeResultList(classlib::TWinControl& page, int index);
  void FormShow();
  void FormClose();
  void FillDrives();
  void DriveRowEdit();
  void SearchDone();
  void TabChanged();
  void UpdateTabStatus();
  // The result list of the active tab, or null on the options tab.
  TExtListView* ActiveList();
  TSearchParams TakeParams();
  void WaitForSearch();
  void NewPattern();
  void EditPattern();
  void DeletePattern();
  void ResultKeyDown(TExtListView& list, int& key);

  TAdvStatusBar* status_ = nullptr;
  TPageControl* pages_ = nullptr;
  TExtListView* drives_ = nullptr;
  TExtListView* results_[kResultListCount] = {};
  classlib::TCheckBox* types_[kResultListCount] = {};
  TSpinEdit* minimumSize_ = nullptr;
  classlib::TComboBox* sizeUnit_ = nullptr;
  classlib::TComboBox* oldestMode_ = nullptr;
  TDateTimePicker* dateLimit_ = nullptr;
  classlib::TListBox* patterns_ = nullptr;
  classlib::TButton* startButton_ = nullptr;
  classlib::TButton* stopButton_ = nullptr;
  classlib::TButton* saveButton_ = nullptr;
  classlib::TButton* deleteButton_ = nullptr;
  TSearchAnimation* animation_ = nullptr;
  TShellBrowser* shell_ = nullptr;
  classlib::TImageList* systemImages_ = nullptr;

  // The size of each result list's rows in KB, kept as rows come and go.
  std::uint64_t listKB_[kResultListCount] = {};
  // The small system icon of a found file; the icons of file types, by
  // extension (lower case), as the shell gave them.
  int FoundFileIcon(const TFoundFile& file);
  std::map<std::string, int> typeIcons_;
  TSearchThread* search_ = nullptr;
  bool stopping_ = false;
  // The drive row whose caption the user may replace by a folder.
  classlib::TListItem* editableRow_ = nullptr;
};

}  // namespace foldwick
