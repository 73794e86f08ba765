#include "search/recovered_file_preview.hpp"

#include <fstream>

#include "common/text.hpp"
#include "fat/file_content.hpp"
#include "model/file_type_description.hpp"
#include "ntfs/file_content.hpp"
#include "search/basic_search.hpp"
#include "storage/size_text.hpp"

namespace pellora {

std::string PreviewFileName(std::uint64_t number, std::string_view file_name) {
  std::string name = "ZYDC" + std::to_string(number);
  const std::string_view extension = ExtensionOf(file_name);
  if (!extension.empty()) name.append(".").append(Trim(extension.substr(1)));
  return name;
}

std::optional<std::filesystem::path> OpenRecoveredFile(AppState& app, const FileListRow& line) {
  if (!IsFileTypeText(line.type)) return std::nullopt;
  std::optional<std::filesystem::path> opened;
  app.reporter.Guarded("Trying to open selected recovered file...", "OF", "6A", [&] {
    const std::uint64_t number = ++app.preview_count;
    app.ui.ShowText(UiText::kStatus, "Opening File : " + SizeText(line.size) + " - " + line.name);
    const std::filesystem::path target = app.temp_folder / PreviewFileName(number, line.name);
    std::error_code ignored;
    std::filesystem::remove(target, ignored);
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    if (!out) return;
    const ContentSink sink = [&](std::span<const std::byte> bytes) {
      out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
      return static_cast<bool>(out);
    };
    if (app.partition_params.fs.ParamsFileSystemName == "NTFS") {
      // NTFS lines carry the sector of the file's FILE record.
      const NtfsVolume volume = CurrentNtfsVolume(app);
      RecordReader reader(volume);
      CopyNtfsFile(reader, ReadNtfsFileData(reader, app.mft_fragments, line.self), line.size, sink);
    } else {
      const FatVolume volume = CurrentFatVolume(app);
      const auto first = static_cast<std::uint32_t>(line.self);
      CopyFatFile(volume, FatFileClusters(volume, first, line.size), line.size, sink);
    }
    out.close();
    opened = target;
    ShellOpen(app.ui, target.string(), false, app.launcher);
  });
  return opened;
}

}  // namespace pellora
