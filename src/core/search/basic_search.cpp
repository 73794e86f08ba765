#include "search/basic_search.hpp"

#include <ctime>

#include "common/progress.hpp"
#include "fat/lost_folder_scan.hpp"
#include "ntfs/mft_scan.hpp"
#include "recognition/compute_partition_params.hpp"
#include "recognition/rebuild_fat_params.hpp"
#include "search/store_and_arrange.hpp"
#include "state/current_volume.hpp"
#include "state/end_message.hpp"

namespace pellora {

namespace {

// NTFS: where the $MFT lies, every record of it, then the tree.
bool SearchNtfs(AppState& app, SearchTables& tables, ProgressBar& progress, std::stop_token stop) {
  tables.partition_params.fs = tables.working_params;
  const NtfsVolume volume = NtfsVolumeOf(app.sectors, &app.reporter, tables);
  tables.mft_fragments = BuildMftFragments(volume);
  tables.results.Clear();
  app.reporter.Guarded("Searching for lost ntfs directories...", "R", "3C", [&] {
    ScanMftRecords(volume, tables.mft_fragments, tables.results, app.ui, progress, stop, std::time(nullptr));
  });
  StoreAndArrangeNtfs(tables.results, app.ui, progress, app.reporter);
  return !tables.mft_fragments.Empty();
}

// FAT16 or FAT32: values from the boot sector or rebuilt, then the lost-folder scan and the tree.
bool SearchFat(AppState& app, SearchTables& tables, bool boot_sector_valid, ProgressBar& progress,
               std::stop_token stop) {
  PartitionParams& params = tables.partition_params;
  if (!boot_sector_valid) {
    app.ui.ShowText(UiText::kStatus, "Calculating Partition Params: ");
    bool rebuilt = false;
    app.reporter.Guarded("Calculating partition parameters...", "R", "2B", [&] {
      rebuilt = RebuildFatParams(app.sectors, tables.device_path, params, tables.working_params, &app.ui, stop);
    });
    if (!rebuilt) {
      if (!stop.stop_requested()) app.ui.ShowMessage(kUnableToCalculateParams);
      return false;
    }
  }
  params.fs = tables.working_params;
  const FatVolume volume = FatVolumeOf(app.sectors, tables);
  app.reporter.Guarded("Searching lost fat directories...", "R", "2C", [&] {
    ScanLostFatFolders(volume, params.EndSector, tables.results, app.ui, progress, stop, std::time(nullptr));
  });
  app.ui.ShowText(UiText::kStatus, "Searching Lost Directories. Please wait...");
  app.reporter.Guarded("Arranging recoverd data...", "R", "2D",
                       [&] { StoreAndArrangeFat(volume, tables.results, app.ui, progress, false); });
  return true;
}

}  // namespace

BasicSearchOutcome RunBasicSearch(AppState& app, SearchTables& tables, std::stop_token stop) {
  BasicSearchOutcome outcome;
  BeginSearchRun(app);
  app.reporter.Guarded("Drive Recovery proccess", "R", "2TH", [&] {
    app.ui.ShowText(UiText::kStatus, "");
    tables.results.Clear();
    bool valid = false;
    app.reporter.Guarded("Validating Partition...", "R", "2A", [&] {
      valid = ComputePartitionParams(app.sectors, tables.device_path, tables.partition_params, tables.working_params);
    });
    ProgressBar progress(&app.ui);
    const FileSystemKind& file_system = tables.partition_params.FileSystemName;
    if (file_system.Ntfs()) outcome.scanned = SearchNtfs(app, tables, progress, stop);
    if (file_system.Fat()) outcome.scanned = SearchFat(app, tables, valid, progress, stop);
  });
  app.sectors.EndRun();
  outcome.stopped = stop.stop_requested();
  if (outcome.stopped) app.stopped = true;
  outcome.results_empty = tables.results.nodes.Size() == 0;
  ShowEndMessage(app, !outcome.results_empty);
  return outcome;
}

BasicSearchOutcome RunBasicSearch(AppState& app, std::stop_token stop) {
  SearchTables tables = TakeSearchTables(app);
  const BasicSearchOutcome outcome = RunBasicSearch(app, tables, std::move(stop));
  HandBackSearchTables(app, std::move(tables));
  return outcome;
}

}  // namespace pellora
