// pellora-cli partitions: search a disk (or a volume) for partitions its table no longer shows.

#include <CLI/CLI.hpp>

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <ctime>
#include <functional>
#include <iostream>
#include <memory>
#include <thread>

#include "cli_context.hpp"
#include "recognition/lost_partition_search.hpp"
#include "storage/drive_details.hpp"
#include "terminal_text.hpp"

namespace pellora::cli {

namespace {

struct PartitionsOptions {
  std::string drive;
  bool advanced = false;
};

// Runs work on a worker; Ctrl-C asks it to stop at the next cylinder or step, and what it found
// until then is kept. The worker wakes the waiting thread with SIGUSR1 when it is done.
void RunStoppable(const std::function<void(std::stop_token)>& work) {
  sigset_t wanted;
  sigemptyset(&wanted);
  sigaddset(&wanted, SIGINT);
  sigaddset(&wanted, SIGUSR1);
  sigset_t previous;
  pthread_sigmask(SIG_BLOCK, &wanted, &previous);
  std::atomic<bool> done{false};
  const pthread_t waiter = pthread_self();
  std::jthread worker([&](std::stop_token stop) {
    work(stop);
    done.store(true);
    pthread_kill(waiter, SIGUSR1);
  });
  const timespec tick{1, 0};
  while (!done.load()) {
    if (sigtimedwait(&wanted, nullptr, &tick) == SIGINT) worker.request_stop();
  }
  worker.join();
  // A wake-up that arrived after the last wait must not outlive the mask.
  const timespec none{0, 0};
  while (sigtimedwait(&wanted, nullptr, &none) > 0) {
  }
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

int SearchVolume(CliContext& context, int item) {
  AppState& app = context.app;
  const DriveInfo& info = *app.drive_listing.tree.Item(item).info;
  PartitionParams& params = app.partition_params;
  params = PartitionParams{};
  params.RangeStart = 0;
  params.RangeEnd = info.total_sectors;
  std::vector<RecognisedPartition> found;
  RunStoppable([&](std::stop_token stop) {
    SearchLogicalVolume(app.sectors, app.reporter, context.ui, info.device_path, info.volume_label, params,
                        app.working_params, found, stop);
  });
  context.ui.FinishProgress();
  const std::string root = info.device_path.substr(4);
  const std::string message = ResultMessage(static_cast<int>(found.size()), "Drive", root, info.volume_label);
  nlohmann::json partitions = nlohmann::json::array();
  for (std::size_t i = 0; i < found.size(); ++i) {
    const RecognisedPartition& p = found[i];
    if (context.options.json) {
      partitions.push_back({{"number", i + 1},
                            {"label", p.label},
                            {"file_system", p.file_system},
                            {"start_sector", p.start},
                            {"end_sector", p.end},
                            {"found", true}});
    } else {
      std::cout << TerminalText(p.label) << "  start " << p.start << "  end " << p.end << '\n';
    }
  }
  if (context.options.json) CliContext::PrintJson({{"message", message}, {"partitions", partitions}});
  return kExitDone;
}

int RunPartitions(CliContext& context, const PartitionsOptions& options) {
  AppState& app = context.app;
  DriveListing& listing = context.ListDrives();
  const int item = context.FindItem(options.drive, std::nullopt);
  if (listing.tree.Item(item).kind == DriveItemKind::kVolume) return SearchVolume(context, item);
  SelectDriveItem(listing, item);
  const smpparam disk = *listing.Geometry(item);
  const int disk_number = listing.tree.Item(item).disk_number;

  int found = 0;
  RunStoppable([&](std::stop_token stop) {
    app.reporter.Guarded("Search more partition for selected drive...", "LD", "1FA", [&] {
      LostPartitionSearch search{
          .sectors = app.sectors, .listing = listing, .ui = &context.ui, .stop = stop, .silent = {}};
      found = SearchDisk(search, disk, options.advanced ? LostPartitionMode::kAdvanced : LostPartitionMode::kStandard);
    });
  });
  context.ui.FinishProgress();
  const std::string message = DiskResultMessage(found, listing, disk);
  nlohmann::json partitions = nlohmann::json::array();
  for (const DiskPartition& p : listing.PartitionsOf(disk_number).Entries()) {
    if (context.options.json) {
      partitions.push_back({{"number", p.index + 1},
                            {"file_system", p.file_system},
                            {"start_sector", p.start},
                            {"end_sector", p.end},
                            {"found", p.found}});
    } else if (p.found) {
      std::cout << PartitionItemLabel(p.index + 1, p.file_system) << "  start " << p.start << "  end " << p.end << '\n';
    }
  }
  if (context.options.json) {
    CliContext::PrintJson({{"message", message}, {"partitions", partitions}});
  } else {
    context.ui.ShowMessage(message, kMessageCaption);
  }
  return kExitDone;
}

}  // namespace

void AddPartitionsCommand(CLI::App& cli, CommandRun& chosen) {
  auto options = std::make_shared<PartitionsOptions>();
  CLI::App* command = cli.add_subcommand("partitions", "Search a disk for lost partitions (Ctrl-C stops)");
  command->add_option("--drive", options->drive, "disk:N, vol:E, or the path of an attached image")->required();
  command->add_flag("--advanced", options->advanced, "Test every sector instead of the cylinder starts");
  command->callback([options, &chosen] { chosen = [options](CliContext& c) { return RunPartitions(c, *options); }; });
}

}  // namespace pellora::cli
