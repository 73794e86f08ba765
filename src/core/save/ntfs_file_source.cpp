#include "save/ntfs_file_source.hpp"

#include <memory>

#include "ntfs/file_content.hpp"
#include "ntfs/file_details.hpp"
#include "state/current_volume.hpp"

namespace pellora {

NtfsFileSource NtfsFileSourceFor(AppState& app, std::stop_token cancel) {
  NtfsFileSource source;
  source.folder_files = [&app, cancel](std::uint64_t self) {
    std::vector<NtfsFolderFile> files;
    if (self > UINT32_MAX) return files;
    const auto parent = static_cast<std::uint32_t>(self);
    const NtfsFileTable& table = app.results.ntfs_files;
    const NtfsVolume volume = CurrentNtfsVolume(app, cancel);
    RecordReader reader(volume);
    // A folder saved before it was ever shown has rows without names yet; the save reads them for
    // itself and leaves the rows as the file list shows them.
    const std::vector<NtfsRowDetails> read = ReadFolderFileDetails(reader, app.mft_fragments, table, parent);
    std::size_t next = 0;
    for (const std::size_t index : table.RowsOfParent(parent)) {
      const NtfsFileRow& row = table.Row(index);
      NtfsFolderFile file{row.name, row.size ? std::to_string(*row.size) : std::string(), row.from_index, index == 0,
                          row.record_sector};
      if (next < read.size() && read[next].row == index) {
        file.name = read[next].details.name;
        file.size_text = std::to_string(read[next].details.size);
        ++next;
      }
      files.push_back(std::move(file));
    }
    return files;
  };
  source.file_data = [&app, cancel](std::uint64_t record_sector) {
    NtfsSavedContent content;
    const NtfsVolume volume = CurrentNtfsVolume(app, cancel);
    auto reader = std::make_shared<RecordReader>(volume);
    const NtfsFileData data = ReadNtfsFileData(*reader, app.mft_fragments, record_sector);
    if (data.kind == NtfsFileData::Kind::kResident) {
      content.kind = NtfsSavedContent::Kind::kResident;
      content.value = data.resident;
    } else if (data.kind == NtfsFileData::Kind::kRuns) {
      const auto details = ReadNtfsFileDetails(*reader, app.mft_fragments, record_sector);
      content.kind = NtfsSavedContent::Kind::kNonResident;
      content.size = details ? details->size : 0;
      bool plain = true;  // only allocated clusters: the save engine's own run copy applies
      for (const DataRun& run : data.runs) {
        if (run.sparse || run.lcn < 0) {
          plain = false;
          break;
        }
        content.runs.push_back({static_cast<std::uint64_t>(run.lcn), run.clusters});
      }
      if (!plain) {
        content.runs.clear();
        content.copy = [reader, data, size = content.size](const ContentSink& sink) {
          return CopyNtfsFile(*reader, data, size, sink);
        };
      }
    }
    return content;
  };
  return source;
}

}  // namespace pellora
