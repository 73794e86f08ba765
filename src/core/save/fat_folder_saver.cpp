#include "save/fat_folder_saver.hpp"

#include "fat/folder_listing.hpp"
#include "save/destination_naming.hpp"
#include "save/fat_file_writer.hpp"

namespace pellora {

void SaveFatFolder(SaveRun& run, std::uint64_t self, const std::filesystem::path& folder) {
  ErrorReporter& reporter = run.app.reporter;
  reporter.Guarded("Save Fat Directory...", "S", "8H", [&] {
    // The same entries the file list shows for the folder.
    std::vector<FileListRow> files;
    reporter.Guarded("Enumerate fat chain directory...", "S", "9C", [&] { files = ListFatFolder(run.Volume(), self); });
    reporter.Guarded("Recover fat files ...", "S", "8I", [&] {
      for (const FileListRow& file : files) {
        if (run.Stopped()) return;
        run.ShowCounters();
        WriteFatFile(run, {.path = FileDestination(folder, file.name, file.short_name),
                           .name = file.name,
                           .size = file.size,
                           .first_cluster = static_cast<std::uint32_t>(file.self)});
      }
    });
  });
}

std::uint64_t CountFatFolderFiles(SaveRun& run, std::uint64_t self) {
  std::uint64_t count = 0;
  run.app.reporter.Guarded("Calculating fat files...", "S", "8A3",
                           [&] { count = ListFatFolder(run.Volume(), self).size(); });
  return count;
}

}  // namespace pellora
