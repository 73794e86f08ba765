#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "app/deep_search_run.hpp"
#include "search_window.hpp"

class QComboBox;

namespace pellora::gui {

class CRangeFields;

// The "Deep Search" window: the search window of a whole range of sectors read for lost FAT and
// NTFS file systems, with "Search selected Drive's file system as:" for a drive whose type is not
// recognised. The scan runs on the search worker and hands back what it found when it ends (or is
// stopped); the range fields narrow what it reads. Its found partitions stay with the window for listing, saving and
// the log.
class CDeepSearch final : public CSearchWindow {
  Q_OBJECT

 public:
  CDeepSearch(Program& app, CQtUi& ui, bool system_drives, QWidget* parent = nullptr);
  ~CDeepSearch() override;

  void Start() override;
  QComboBox& FileSystemChoice() const { return *file_system_; }
  CRangeFields& Range() const { return *range_; }
  // The partitions the last search (or the loaded log) found; nullptr before.
  const DeepPartitionTable* Partitions() const { return table_.get(); }

 protected:
  void EndWorkers() override;
  const std::vector<FoundPartition>* DeepRows() const override;
  void KeepLoadedLog(LoadedLog& log) override;
  void ForgetResults() override;

 private:
  void OnSearchEnded(std::shared_ptr<DeepSearchResult> found);
  // The combo's choice as validation takes it: nothing for "Unknown".
  std::optional<int> ChosenFileSystem() const;

  CRangeFields* range_ = nullptr;
  QComboBox* file_system_ = nullptr;
  std::unique_ptr<DeepPartitionTable> table_;
  bool searching_ = false;
};

}  // namespace pellora::gui
