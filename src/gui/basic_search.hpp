#pragma once

#include <memory>

#include "search_window.hpp"
#include "state/search_tables.hpp"

class QPushButton;

namespace pellora::gui {

// The "Basic Search" window: the search window of a recognised partition, with "Search More
// Partitions" for the partitions a disk's table lost. The scan runs on the search worker; while it
// runs the window shows nothing of the results (the worker owns them) and gets them back when it
// ends.
class CBasicSearch final : public CSearchWindow {
  Q_OBJECT

 public:
  CBasicSearch(Program& app, CQtUi& ui, bool system_drives, QWidget* parent = nullptr);
  ~CBasicSearch() override;

  void Start() override;
  // "Search More Partitions": the mode dialog, then the search of the selected disk on the search
  // worker; "Stop Searching Partitions" asks and stops it.
  void SearchMorePartitions();
  void StopSearchingPartitions();

 protected:
  void SetSearching(bool searching) override;
  void EndWorkers() override;

 private:
  void OnSearchEnded();

  // What the running search fills; nullptr when none runs.
  std::unique_ptr<SearchTables> tables_;
  QPushButton* more_ = nullptr;
  QPushButton* stop_more_ = nullptr;
  bool partition_search_ = false;
};

}  // namespace pellora::gui
