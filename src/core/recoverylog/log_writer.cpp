#include "recoverylog/log_writer.hpp"

#include <cstring>
#include <utility>

#include "recoverylog/log_messages.hpp"
#include "recoverylog/value_stream.hpp"

namespace pellora {

namespace {

void WriteFileSystemValues(LogValueWriter& out, const FileSystemParams& p) {
  ForEachFileSystemValue(p, [&out](const auto& value) {
    if constexpr (sizeof(value) == 8)
      out.U64(value);
    else
      out.U32(value);
  });
}

void WriteHeader(LogValueWriter& out, const LogSource& source) {
  const PartitionParams& p = source.partition_params;
  out.Text(source.drive.kind);
  out.Text(kLogMagic);
  out.Text(source.drive.description);
  out.U32(static_cast<std::uint32_t>(source.mode));
  if (NamesVolume(source.mode, source.drive.kind, source.physical_scan)) {
    out.Text(kVolumeIdentity);
    out.Text(source.drive.volume_path);
    out.U64(p.RangeEnd);
  } else {
    out.Text(kDiskIdentity);
    out.Text(source.drive.disk_identity);
    out.U16(source.drive.disk_number);
  }
  out.U16(p.DiskNumber);
  out.U32(p.ParamsFlag);
  out.Text(p.FileSystemName.Text());
  out.Text(p.SearchMode);
  out.U64(p.StartSector);
  out.U64(p.EndSector);
  out.U64(p.RangeStart);
  out.U64(p.RangeEnd);
  out.U64(p.ReadLimitBytes);
  WriteFileSystemValues(out, source.working_params);
  WriteFileSystemValues(out, p.fs);
  out.Text(p.fs.ParamsFileSystemName.Text());
}

// A title on a line of its own: a line feed or a leading tab in it would end the line early or
// deepen the item when the log is read, so those become blanks there (the record keeps the name).
std::string LineText(std::string_view title) {
  std::string text(title);
  for (char& c : text)
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  return text;
}

void WriteRecord(LogValueWriter& out, bool deep, const FolderNode* node) {
  const FolderNode empty;
  const FolderNode& n = node != nullptr ? *node : empty;
  out.Text(n.name);
  out.U32(static_cast<std::uint32_t>(n.self));
  out.U32(static_cast<std::uint32_t>(n.parent));
  out.U64(n.date);
  out.U64(n.time);
  out.U32(n.deleted ? 1 : 0);
  if (deep) out.U64(n.partition_start);
}

// The tree in pre-order: the root with its fixed record, then every item below it at its depth.
// Walked with a stack of its own, however deep the folders go.
void WriteTree(LogValueWriter& out, const LogSource& source) {
  const bool deep = source.mode == SearchMode::kDeep;
  const ResultTree& tree = source.results.tree;
  out.U64(source.results.nodes.Size());
  if (!tree.Empty()) {
    const ItemId root = tree.FirstItem();
    out.Line(LineText(tree.Title(root)) + "\r\n");
    FolderNode root_record;
    root_record.name = kRootRecordName;
    WriteRecord(out, deep, &root_record);
    std::vector<std::pair<ItemId, std::size_t>> pending;
    const auto push_children = [&](ItemId item, std::size_t depth) {
      const auto& children = tree.Children(item);
      for (auto child = children.rbegin(); child != children.rend(); ++child) pending.emplace_back(*child, depth);
    };
    push_children(root, 1);
    while (!pending.empty()) {
      const auto [item, depth] = pending.back();
      pending.pop_back();
      out.Line(std::string(depth, '\t') + LineText(tree.Title(item)) + "\r\n");
      WriteRecord(out, deep, source.results.nodes.ByItem(item));
      push_children(item, depth + 1);
    }
  }
  out.Line(std::string(kLogTreeEnd) + "\r\n");
}

void WriteNtfsRows(LogValueWriter& out, const LogSource& source) {
  const NtfsFileTable& rows = source.results.ntfs_files;
  out.U64(rows.Size());
  for (const NtfsFileRow& row : rows) {
    row.ForEachColumn([&out](std::size_t column, std::string_view text) {
      if (column < kNtfsRowColumns) out.Text(text);
    });
  }
  out.U32(source.ntfs_sorted ? 1 : 0);
  // Deep Search on NTFS reads one range as one partition and keeps no table of partitions.
  if (source.mode == SearchMode::kDeep) out.U32(0);
}

void WriteValues(LogValueWriter& out, const LogSource& source) {
  WriteHeader(out, source);
  const PartitionParams& p = source.partition_params;
  if (source.mode == SearchMode::kDeep && !p.FileSystemName.Ntfs()) {
    const std::size_t count = source.deep_partitions != nullptr ? source.deep_partitions->size() : 0;
    out.U64(count);
    for (std::size_t row = 0; row < count; ++row)
      for (const std::string& column : DeepPartitionColumns((*source.deep_partitions)[row])) out.Text(column);
  }
  WriteTree(out, source);
  if (p.fs.ParamsFileSystemName.Ntfs()) WriteNtfsRows(out, source);
  out.Flush();
}

}  // namespace

void WriteRecoveryLog(const std::filesystem::path& path, const LogSource& source) {
  const std::filesystem::path partial = path.string() + ".part";
  OutputFile file;
  if (const int error = file.Create(partial); error != 0) throw LogWriteError(std::strerror(error));
  try {
    LogValueWriter out(file);
    WriteValues(out, source);
  } catch (...) {
    file.Close();
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
    throw;
  }
  file.Close();
  std::error_code error;
  std::filesystem::rename(partial, path, error);
  if (error) {
    const std::string reason = error.message();
    std::filesystem::remove(partial, error);
    throw LogWriteError(reason);
  }
}

}  // namespace pellora
