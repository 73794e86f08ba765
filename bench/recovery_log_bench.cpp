// The recovery log of a Basic Search of an NTFS volume: the search, then writing its log and
// loading it again, each timed in the same run, beside the same bytes merely written and read; and
// the log's size beside the text of the NTFS file rows it holds. Usage: bench-recovery-log VOLUME.img LOG.DMC

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/load_drives.hpp"
#include "common/null_ui.hpp"
#include "common/text.hpp"
#include "recognition/validate_partition.hpp"
#include "recoverylog/log_file_bytes.hpp"
#include "recoverylog/log_session.hpp"
#include "recoverylog/value_stream.hpp"
#include "search/basic_search.hpp"
#include "storage/drive_details.hpp"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// The rows as the table holds them: six columns of UTF-16 text, and of UTF-8 text, a tab or a
// line feed after each column.
struct RowsText {
  std::uint64_t utf16 = 0;
  std::uint64_t utf8 = 0;
};
RowsText NtfsRowsText(const pellora::NtfsFileTable& rows) {
  RowsText text;
  for (const pellora::NtfsFileRow& row : rows) {
    const auto columns = row.Columns();
    for (std::size_t column = 0; column < pellora::kNtfsRowColumns; ++column) {
      text.utf8 += columns[column].size() + 1;
      text.utf16 += pellora::Utf8ToUtf16Le(columns[column]).size() + 2;
    }
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s VOLUME.img LOG.DMC\n", argv[0]);
    return 2;
  }
  const std::filesystem::path log = argv[2];
  pellora::NullUi ui;
  pellora::AppState app(ui);
  app.mode.Set(pellora::SearchMode::kBasic);
  const std::string volume = app.devices.AttachVolumeImage(argv[1]);
  pellora::DriveListing& listing = pellora::LoadDrives(app, pellora::SearchMode::kBasic, false);
  const auto item = listing.tree.FindDrive(volume);
  if (!item) return 1;
  pellora::SelectDriveItem(listing, *item);
  pellora::ValidationContext validation{.listing = listing,
                                        .devices = app.devices,
                                        .guard = app.read_guard,
                                        .ui = app.ui,
                                        .params = app.partition_params,
                                        .current_device_path = app.current_device_path,
                                        .mode = pellora::SearchMode::kBasic,
                                        .clear_search_state = {},
                                        .file_system_choice = {}};
  if (pellora::ValidatePartition(validation) != pellora::Validation::kValidated) return 1;

  auto start = Clock::now();
  pellora::RunBasicSearch(app, {});
  const double search = Seconds(start);
  const std::size_t folders = app.results.nodes.Size();
  const std::size_t rows = app.results.ntfs_files.Size();
  const RowsText text = NtfsRowsText(app.results.ntfs_files);

  start = Clock::now();
  if (!pellora::SaveRecoveryLog(app, log)) return 1;
  const double write = Seconds(start);

  start = Clock::now();
  const pellora::LogLoad load = pellora::LoadRecoveryLog(app, log, pellora::PresentDrivesOfListing(listing));
  const double read = Seconds(start);
  if (load.end != pellora::LogLoadEnd::kLoaded || app.results.ntfs_files.Size() != rows) return 1;

  // The floor under both: the log's bytes alone, read into memory as the loader reads them, and
  // written to a new file as the writer writes them.
  start = Clock::now();
  const pellora::LogFileBytes held(log);
  const double read_bytes = Seconds(start);
  const std::filesystem::path copy = log.string() + ".copy";
  start = Clock::now();
  {
    pellora::OutputFile out;
    if (out.Create(copy) != 0) return 1;
    for (std::span<const std::byte> rest = held.Bytes(); !rest.empty();) {
      const std::size_t part = std::min(rest.size(), pellora::LogValueWriter::kBufferBytes);
      if (!out.Write(rest.first(part))) return 1;
      rest = rest.subspan(part);
    }
  }
  const double write_bytes = Seconds(start);
  std::filesystem::remove(copy);

  const auto bytes = static_cast<double>(std::filesystem::file_size(log));
  std::printf("Basic Search      %8.3f s  (%zu folders, %zu file rows)\n", search, folders, rows);
  std::printf("write log         %8.3f s  ratio to the search %.3f\n", write, write / search);
  std::printf("load log          %8.3f s  ratio to the search %.3f\n", read, read / search);
  std::printf("its bytes alone   %8.3f s written, %.3f s read; ratios to the search %.3f, %.3f\n", write_bytes,
              read_bytes, write_bytes / search, read_bytes / search);
  std::printf("log size          %8.0f bytes; ratio to the rows as UTF-16 text %.2f, as UTF-8 text %.2f\n", bytes,
              bytes / static_cast<double>(text.utf16), bytes / static_cast<double>(text.utf8));
  return 0;
}
