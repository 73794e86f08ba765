#include "search/recovered_file_preview.hpp"

#include "common/text.hpp"
#include "model/file_type_description.hpp"
#include "save/fat_file_writer.hpp"
#include "save/ntfs_file_writer.hpp"
#include "storage/size_text.hpp"

namespace pellora {

std::string PreviewFileName(std::uint64_t number, std::string_view file_name) {
  std::string name = "ZYDC" + std::to_string(number);
  const std::string_view extension = ExtensionOf(file_name);
  if (!extension.empty()) name.append(".").append(Trim(extension.substr(1)));
  return name;
}

std::optional<std::filesystem::path> OpenRecoveredFile(AppState& app, const FileListRow& line, std::stop_token stop) {
  if (!IsFileTypeText(line.type)) return std::nullopt;
  std::optional<std::filesystem::path> opened;
  app.reporter.Guarded("Trying to open selected recovered file...", "OF", "6A", [&] {
    const std::uint64_t number = ++app.preview_count;
    app.ui.ShowText(UiText::kStatus, "Opening File : " + SizeText(line.size) + " - " + line.name);
    const std::filesystem::path target = app.temp_folder / PreviewFileName(number, line.name);
    std::error_code ignored;
    std::filesystem::remove(target, ignored);
    // Written by the save engine's own file writers, without the saving window.
    SaveState state;
    state.destination_base = app.temp_folder;
    SaveRun run(app, state, nullptr, false, std::move(stop));
    std::optional<std::filesystem::path> written;
    if (run.Ntfs()) {
      written = WriteNtfsFile(run, {.path = target, .name = line.name, .record_sector = line.self});
    } else if (run.Fat()) {
      written = WriteFatFile(run, {.path = target,
                                   .name = line.name,
                                   .size = line.size,
                                   .first_cluster = static_cast<std::uint32_t>(line.self)});
    }
    app.sectors.EndRun();
    if (!written) return;
    opened = *written;
    ShellOpen(app.ui, written->string(), false, app.launcher);
  });
  return opened;
}

}  // namespace pellora
