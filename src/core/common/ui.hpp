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

// Named text fields of a search or save window that the core keeps up to date.
enum class UiText {
  kStatus,         // the line that says which phase or procedure runs
  kHint,           // "To Stop recovery, click on 'Stop Search' ..." and the finish hints
  kCurrentSector,  // "%llu" of the sector being read
  kTotalSectors,   // "sectors scanned of total %llu"
  kSearchRange,    // "Search Range : %llu to %llu"
};

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

  // Carving searches. The media-removed window; blocks until answered.
  virtual MediaRemovedAnswer AskMediaRemoved() = 0;
  // A finished Photo Search file, shown as a thumbnail.
  virtual void AddThumbnail(std::string_view file_path, std::string_view file_name) = 0;
  // A finished Video or Signature Search file, shown in the recovered-file list.
  virtual void AddRecoveredFile(std::string_view type_name, std::string_view file_name, std::string_view file_path) = 0;
};

}  // namespace pellora
