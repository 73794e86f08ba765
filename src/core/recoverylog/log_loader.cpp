#include "recoverylog/log_loader.hpp"

#include "common/text.hpp"
#include "recoverylog/log_file_bytes.hpp"
#include "recoverylog/log_messages.hpp"
#include "recoverylog/value_stream.hpp"

namespace pellora {

namespace {

// Header rows 1 to 4: the drive kind, the magic, the description and the mode. Nothing when the
// file does not begin as a log does.
struct Opening {
  std::string drive_kind;
  std::string description;
  std::uint32_t mode = 0;
};
std::optional<Opening> ReadOpening(LogValueReader& in) {
  Opening opening;
  try {
    opening.drive_kind = in.Text();
    if (in.Text() != kLogMagic) return std::nullopt;
  } catch (const LogFormatError&) {
    return std::nullopt;
  }
  opening.description = in.Text();
  opening.mode = in.U32();
  return opening;
}

std::string_view AfterLastBar(std::string_view text) {
  const std::size_t bar = text.rfind('|');
  return bar == std::string_view::npos ? text : text.substr(bar + 1);
}

std::string_view BeforeLastBar(std::string_view text) {
  const std::size_t bar = text.rfind('|');
  return bar == std::string_view::npos ? std::string_view() : text.substr(0, bar);
}

std::string LastTwo(std::string_view text) { return std::string(text.substr(text.size() < 2 ? 0 : text.size() - 2)); }

// The device a logged volume is found on now; nothing when it is gone or the person declined.
std::optional<std::string> FindVolume(const std::string& path, std::uint64_t size, const PresentDrives& present, Ui& ui,
                                      std::string& declined) {
  const std::string key = path + "|" + std::to_string(size);
  for (const PresentVolume& volume : present.volumes)
    if (volume.key == key) return volume.device_path;
  for (const PresentVolume& volume : present.volumes) {
    if (AfterLastBar(volume.key) != AfterLastBar(key)) continue;
    const std::string question = "Original Media connection order on Drive letter '" + LastTwo(path) +
                                 "' has been replaced with media of drive letter '" + LastTwo(volume.device_path) +
                                 "' since you saved the selected recovery Log.\n\nDo you want to continue?";
    if (!ui.AskYesNo(question, false)) {
      declined = question;
      return std::nullopt;
    }
    return volume.device_path;
  }
  ui.ShowMessage(kLogMediaMoved);
  return std::nullopt;
}

// The disk a logged disk identity is found as now.
std::optional<PresentDisk> FindDisk(const std::string& identity, const PresentDrives& present, Ui& ui,
                                    std::string& declined) {
  const std::string_view stored = Trim(identity);
  for (const PresentDisk& disk : present.disks)
    if (Trim(disk.identity) == stored) return disk;
  for (const PresentDisk& disk : present.disks) {
    if (BeforeLastBar(Trim(disk.identity)) != BeforeLastBar(stored)) continue;
    const std::string question = "Original Media connection order on Disk number '" +
                                 std::string(AfterLastBar(stored)) + "' has been replaced with media of disk number '" +
                                 std::to_string(disk.number) +
                                 "' since you saved the selected recovery Log.\n\nDo you want to continue?";
    if (!ui.AskYesNo(question, false)) {
      declined = question;
      return std::nullopt;
    }
    return disk;
  }
  ui.ShowMessage(kLogMediaMoved);
  return std::nullopt;
}

void ReadFileSystemValues(LogValueReader& in, FileSystemParams& p) {
  ForEachFileSystemValue(p, [&in](auto& value) {
    if constexpr (sizeof(value) == 8)
      value = in.U64();
    else
      value = in.U32();
  });
}

void ReadParams(LogValueReader& in, LoadedLog& log) {
  PartitionParams& p = log.partition_params;
  p.DiskNumber = in.U16();
  p.ParamsFlag = in.U32();
  p.FileSystemName = FileSystemKind(in.Text());
  p.SearchMode = in.Text();
  p.StartSector = in.U64();
  p.EndSector = in.U64();
  p.RangeStart = in.U64();
  p.RangeEnd = in.U64();
  p.ReadLimitBytes = in.U64();
  ReadFileSystemValues(in, log.working_params);
  ReadFileSystemValues(in, p.fs);
  const FileSystemKind name(in.Text());
  log.working_params.ParamsFileSystemName = name;
  p.fs.ParamsFileSystemName = name;
}

// count rows of text columns, each handed to keep as it is read.
template <std::size_t kColumns, typename Keep>
void ReadRows(LogValueReader& in, std::uint64_t count, const char* what, Keep&& keep) {
  in.Count(count, kColumns * kEmptyTextBytes, what);
  std::array<std::string, kColumns> columns;
  for (std::uint64_t row = 0; row < count; ++row) {
    for (std::string& column : columns) in.TextInto(column);
    keep(columns);
  }
}

FolderNode ReadRecord(LogValueReader& in, bool deep) {
  FolderNode node;
  node.name = in.Text();
  node.self = in.U32();
  node.parent = in.U32();
  node.date = in.U64();
  node.time = in.U64();
  node.deleted = in.U32() == 1;
  if (deep) node.partition_start = in.U64();
  return node;
}

// Lines until the end line: the first is the root, each further one a child of the last item one
// tab less deep, each followed by its record.
void ReadTree(LogValueReader& in, bool deep, std::uint64_t records, RecoveredResults& results, Ui& ui) {
  std::vector<ItemId> last_at_depth;
  std::uint64_t read = 0;
  for (std::string line = in.Line(); line != kLogTreeEnd; line = in.Line()) {
    if (last_at_depth.empty()) {
      const ItemId root = results.tree.Insert(kNoItem, std::move(line), kRootImage);
      results.tree.SetExpanded(root, true);
      (void)ReadRecord(in, deep);
      last_at_depth.push_back(root);
      continue;
    }
    const std::size_t depth = line.find_first_not_of('\t');
    if (depth == 0 || depth == std::string::npos || depth > last_at_depth.size() || depth > kMaxLogTreeDepth)
      throw LogFormatError("A folder of the log lies deeper than any folder before it.\n\n");
    const ItemId item = results.tree.Insert(last_at_depth[depth - 1], line.substr(depth), kFolderImage);
    last_at_depth.resize(depth);
    last_at_depth.push_back(item);
    FolderNode node = ReadRecord(in, deep);
    node.tree_item = item;
    results.nodes.Append(std::move(node));
    if (++read % 4096 == 0)
      ui.ShowProgress(static_cast<std::int64_t>(std::min(read, records)), static_cast<std::int64_t>(records));
  }
}

void ReadValues(LogValueReader& in, SearchMode mode, LoadedLog& log, Ui& ui) {
  const bool deep = mode == SearchMode::kDeep;
  ReadParams(in, log);
  if (deep && !log.partition_params.FileSystemName.Ntfs()) {
    ReadRows<kDeepPartitionColumns>(in, in.U64(), "partitions", [&log](const auto& columns) {
      log.deep_partitions.push_back(DeepPartitionFromColumns(columns));
    });
  }
  // Only the progress bar's range: a count past what the file holds is shown as what it holds.
  const std::uint64_t records = std::min<std::uint64_t>(in.U64(), in.Remaining());
  ReadTree(in, deep, records, log.results, ui);
  if (log.partition_params.fs.ParamsFileSystemName.Ntfs()) {
    const std::uint64_t rows = in.Count(in.U64(), kNtfsRowColumns * kEmptyTextBytes, "file rows");
    log.results.ntfs_files.Reserve(static_cast<std::size_t>(rows));
    ReadRows<kNtfsRowColumns>(in, rows, "file rows",
                              [&log](const auto& columns) { log.results.ntfs_files.Add(NtfsRowFromColumns(columns)); });
    log.ntfs_sorted = in.U32() == 1;
    if (deep)
      ReadRows<6>(in, in.U32(), "partitions",
                  [&log](const auto& columns) { log.deep_ntfs_partitions.push_back(columns); });
  }
}

LogLoad ReadLog(LogValueReader& in, SearchMode window_mode, const PresentDrivesSource& present, Ui& ui) {
  LogLoad load;
  const std::optional<Opening> opening = ReadOpening(in);
  if (!opening) {
    ui.ShowMessage(kLogWrongMagic);
    return load;
  }
  if (opening->mode != 1 && opening->mode != 2) {
    ui.ShowMessage(kLogMediaMoved);
    return load;
  }
  load.log_mode = static_cast<SearchMode>(opening->mode);
  if (load.log_mode != window_mode) {
    const std::string_view question =
        load.log_mode == SearchMode::kDeep ? kSwitchToDeepQuestion : kSwitchToBasicQuestion;
    if (ui.AskYesNo(question, false))
      load.end = LogLoadEnd::kSwitchMode;
    else
      load.declined = question;
    return load;
  }

  LoadedLog log;
  log.mode = load.log_mode;
  log.drive_kind = opening->drive_kind;
  log.description = opening->description;
  std::optional<PresentDisk> disk;
  const std::string identity = in.Text();
  if (identity == kVolumeIdentity) {
    const std::string path = in.Text();
    const std::uint64_t size = in.U64();
    log.device_path = path;
    if (log.drive_kind == kLogicalDriveKind ||
        (window_mode == SearchMode::kDeep && log.drive_kind == kRecognisedDriveKind)) {
      const std::optional<std::string> found = FindVolume(path, size, present(true), ui, load.declined);
      if (!found) return load;
      log.device_path = *found;
    }
  } else if (identity == kDiskIdentity) {
    const std::string disk_identity = in.Text();
    (void)in.U16();
    disk = FindDisk(disk_identity, present(false), ui, load.declined);
    if (!disk) return load;
    log.device_path = disk->device_path;
  } else {
    throw LogFormatError("The log names its drive in no known way.\n\n");
  }

  ReadValues(in, log.mode, log, ui);
  // The disk may have another number now: reads go to where it is.
  if (disk) log.partition_params.DiskNumber = static_cast<std::uint16_t>(disk->number);
  load.end = LogLoadEnd::kLoaded;
  load.log = std::move(log);
  return load;
}

}  // namespace

LogLoad ReadRecoveryLog(std::span<const std::byte> bytes, SearchMode window_mode, const PresentDrivesSource& present,
                        Ui& ui) {
  LogValueReader in(bytes);
  try {
    return ReadLog(in, window_mode, present, ui);
  } catch (const LogFormatError& error) {
    ui.ShowMessage(std::string(error.what()) + std::string(kLogCorrupted));
    LogLoad corrupt;
    corrupt.end = LogLoadEnd::kCorrupt;
    return corrupt;
  }
}

LogLoad ReadRecoveryLogFile(const std::filesystem::path& path, SearchMode window_mode,
                            const PresentDrivesSource& present, Ui& ui) {
  const LogFileBytes file(path);
  if (!file.Opened()) {
    LogLoad unopened;
    unopened.end = LogLoadEnd::kCannotOpen;
    return unopened;
  }
  return ReadRecoveryLog(file.Bytes(), window_mode, present, ui);
}

LogHeaderMode ReadLogFileMode(const std::filesystem::path& path) {
  // Mapped, not read: only the few values at its start are wanted, not a copy of the whole log.
  const LogFileBytes file(path, 0);
  LogHeaderMode header;
  header.opened = file.Opened();
  header.error = file.Error();
  if (!header.opened) return header;
  LogValueReader in(file.Bytes());
  try {
    const std::optional<Opening> opening = ReadOpening(in);
    if (opening && (opening->mode == 1 || opening->mode == 2)) header.mode = static_cast<SearchMode>(opening->mode);
  } catch (const LogFormatError&) {
  }
  return header;
}

}  // namespace pellora
