#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/product.hpp"

namespace pellora {

// What the error report window shows (see error_report.hpp for how each text is made).
struct ErrorReport {
  std::string error_code;  // 0x003TH_LLD_B
  std::string headline;    // Error while executing " Loading drives " command (0x003TH_LLD_B)
  std::string body;        // the rich-text report with the questionnaire
  std::string mail_link;   // mailto: link of "Contact Support"
};

// Named text fields of a search or save window that the core keeps up to date. The first three
// and the last are texts; the sector fields are handed over as numbers (ShowCurrentSector,
// ShowSectorTotal, ShowSearchRange) and ScanFieldText makes their texts.
enum class UiText {
  kStatus,         // the line that says which phase or procedure runs
  kHint,           // "To Stop recovery, click on 'Stop Search' ..." and the finish hints
  kCurrentSector,  // "%llu" of the sector being read
  kTotalSectors,   // "sectors scanned of total %llu", or a form of SectorTotalForm
  kSearchRange,    // "Search Range : %llu to %llu"
  kSaveTotals,     // the saving window's "( Total selected recovered data to be saved : ... )" line
};

// The words around the last sector of a scan in its window.
enum class SectorTotalForm {
  kScannedOfTotal,  // "sectors scanned of total %llu" (searches and carving)
  kReading,         // " / %llu reading" (the lost-partition search)
  kRebuilding,      // "/ %llu" (rebuilding FAT values without a boot sector)
};

// The texts of the sector fields.
std::string CurrentSectorText(std::uint64_t sector);
std::string SectorTotalText(std::uint64_t total, SectorTotalForm form);
std::string SearchRangeText(std::uint64_t first, std::uint64_t last);

// The media-removed window of the carving searches: shown when a chunk of the medium cannot be read.
inline constexpr std::string_view kMediaRemovedText = "The selected storage device is no longer available.";
inline constexpr std::string_view kMediaRemovedCancel = "Cancel Searching";
inline constexpr std::string_view kMediaRemovedRetry = "Retry and Continue...";
inline constexpr std::string_view kMediaRemovedApplyAll = "Apply this action until the searching completes";

struct MediaRemovedAnswer {
  bool retry = false;             // "Retry and Continue..."; false is "Cancel Searching"
  bool apply_until_done = false;  // the "Apply this action ..." box was ticked
};
// The question asked when a search is started on a whole disk rather than on one of its
// partitions (caption: the product name).
inline constexpr std::string_view kWholeDiskPromptText =
    "Please select the Partition to start searching for lost data or use search more partitions option to find "
    "the missing or deleted partitions.\n\nBesides this, you can also use the advanced search mode of Orvane to "
    "select Entire Drive or Custom Disk Range or even cross File System selection to search the missing data.";
inline constexpr std::string_view kWholeDiskGoOn = "Search Entire Drive as a single Partition";
inline constexpr std::string_view kWholeDiskGoBack = "OK, Go Back";

// Saving recovered data. The saving window ("Saving Files...") and the count window before it show
// this; the core hands it over after every chunk and every counted or saved item.
enum class SavePhase { kCounting, kSaving };
struct SaveProgress {
  SavePhase phase = SavePhase::kSaving;
  std::string file_name;                                  // "File Name :"
  std::string file_path;                                  // "File Path  :", in its display form
  std::uint64_t file_written = 0;                         // " Recovered Current File :" bytes written
  std::uint64_t file_size = 0;                            // ... of the file's size
  std::uint64_t files_done = 0, files_selected = 0;       // "Total Files Recovered :" (counting: "Total Files :")
  std::uint64_t folders_saved = 0, folders_selected = 0;  // "Total Folders Recovered :"
  std::uint64_t invalid_entries = 0;                      // "Invalid (not saved) Entries :", hidden while 0
};
// What was pressed in the saving window since the last report: "Skip" ends the file being
// written, "Stop" (confirmed with kStopSavingQuestion) ends the save run.
enum class SaveButton { kNone, kSkip, kStop };
inline constexpr std::string_view kStopSavingQuestion = "Do you want to stop saving?";

// The replace window ("Replace File Confirmation"), asked when a file to save already exists.
inline constexpr std::string_view kReplaceCaption = "Replace File Confirmation";
inline constexpr std::string_view kReplaceText = "There is already a file with the same name in destination path.";
inline constexpr std::string_view kReplaceApplyAll = "Apply the answer to all the files";
enum class ReplaceChoice { kOverwrite, kRename, kSkip, kCancel };
struct ReplaceAnswer {
  ReplaceChoice choice = ReplaceChoice::kOverwrite;
  bool apply_to_all = false;  // the "Apply the answer to all the files" box
  std::string new_path;       // "New File :" as the person left it (kRename); empty keeps the proposal
};

// The long-path window ("Destination Path too long").
inline constexpr std::string_view kLongPathCaption = "Destination Path too long";
inline constexpr std::string_view kLongPathText =
    "Destination Path is too long.\nWindows cannot support saving file and folder on that long path.";
inline constexpr std::string_view kLongPathForAll = "Do this for all next conflicts.";
enum class LongPathChoice { kIgnore, kMoveToMiscellaneous, kBrowse };
struct LongPathAnswer {
  LongPathChoice choice = LongPathChoice::kIgnore;  // closing the window counts as kIgnore
  bool for_all = false;                             // the "Do this for all next conflicts." box
  std::string folder;                               // kBrowse: the folder picked ("Select destination folder.")
};

// The completion window after saving: "OK" or "Cancel", and the "Open Containing Folder" box.
inline constexpr std::string_view kSaveCompletedText = "Recovered data has been saved successfully.";
struct SaveCompletedAnswer {
  bool ok = true;
  bool open_folder = false;
};

// Everything the core asks of a person or tells a person. The desktop program answers with modal
// windows (marshalled to its GUI thread, so a worker may block on a call), the command line with
// prompts or policies taken from its flags, the tests with a scripted double. Every method may be
// called from any thread; implementations serialise as they need. The core never reads stdin.
class Ui {
 public:
  virtual ~Ui() = default;

  // A modal message box with an information icon; returns when dismissed.
  virtual void ShowMessage(std::string_view text, std::string_view caption = kMessageCaption) = 0;
  // A Yes/No question; default_yes tells which button is the default.
  virtual bool AskYesNo(std::string_view text, bool default_yes = false) = 0;
  // The modal error report of a failed guarded operation.
  virtual void ShowErrorReport(const ErrorReport& report) = 0;
  // The end-of-search window.
  virtual void ShowEndMessage(std::string_view text) = 0;
  // The whole-disk prompt: true for kWholeDiskGoOn, false for kWholeDiskGoBack.
  virtual bool AskWholeDisk() = 0;

  // Progress and status of long work; cheap, may be called often.
  virtual void ShowProgress(std::int64_t position, std::int64_t maximum) = 0;
  virtual void ShowText(UiText field, std::string_view text) = 0;
  // The sector fields of a scan's window, as numbers.
  virtual void ShowCurrentSector(std::uint64_t sector) = 0;
  virtual void ShowSectorTotal(std::uint64_t total, SectorTotalForm form) = 0;
  virtual void ShowSearchRange(std::uint64_t first, std::uint64_t last) = 0;

  // Carving searches. The media-removed window; blocks until answered.
  virtual MediaRemovedAnswer AskMediaRemoved() = 0;
  // A finished Photo Search file of a type (JPG), shown as a thumbnail.
  virtual void AddThumbnail(std::string_view type_name, std::string_view file_path, std::string_view file_name) = 0;
  // A finished Video or Signature Search file, shown in the recovered-file list.
  virtual void AddRecoveredFile(std::string_view type_name, std::string_view file_name, std::string_view file_path) = 0;

  // Saving. The saving window (or the count window before it); returns the button pressed since
  // the last call. Called from the save worker after every chunk, so it must be cheap.
  virtual SaveButton ShowSaveProgress(const SaveProgress& progress) = 0;
  // The replace window for a file that exists at existing_path; proposed_path is the "New File :"
  // proposal. Blocks until answered.
  virtual ReplaceAnswer AskReplace(std::string_view existing_path, std::string_view proposed_path) = 0;
  // The long-path window for a path that cannot be written; blocks until answered.
  virtual LongPathAnswer AskLongPath(std::string_view path) = 0;
  // The completion window; blocks until answered.
  virtual SaveCompletedAnswer ShowSaveCompleted(std::string_view text) = 0;

  // The window goes away: every question being asked, and every later one, answers its cancel
  // choice at once (No, "Cancel Searching", "Cancel", "Ignore", "OK, Go Back"), so that a worker
  // waiting on one can end before it is joined. A Ui whose questions never wait need do nothing.
  virtual void ReleaseQuestions() {}
};

}  // namespace pellora
