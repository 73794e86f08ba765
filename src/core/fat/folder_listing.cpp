#include "fat/folder_listing.hpp"

#include "fat/directory_reader.hpp"
#include "model/date_time_format.hpp"
#include "model/file_type_description.hpp"

namespace pellora {

std::vector<FileListRow> ListFatFolder(const FatVolume& volume, std::uint64_t self) {
  std::vector<FileListRow> rows;
  const DirectoryWalk walk{.mode = EntryMode::kFiles, .skip_folders = true};
  WalkDirectory(volume, self, walk, [&](const DirectoryEntry& entry, std::uint64_t) {
    FileListRow row;
    row.name = entry.name;
    row.type = DescribeFileType(ExtensionOf(entry.name));
    row.size = entry.size;
    row.date = FormatFatDate(entry.date);
    row.time = FormatFatTime(entry.time);
    row.self = entry.first_cluster;
    row.parent = self;
    row.short_name = entry.short_name;
    row.deleted = entry.deleted;
    rows.push_back(std::move(row));
    return true;
  });
  return rows;
}

}  // namespace pellora
