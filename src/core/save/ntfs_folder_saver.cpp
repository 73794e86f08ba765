#include "save/ntfs_folder_saver.hpp"

#include "save/destination_naming.hpp"
#include "save/ntfs_file_writer.hpp"

namespace pellora {

namespace {

std::vector<NtfsFolderFile> FolderFiles(SaveRun& run, std::uint64_t self) {
  return run.ntfs.folder_files ? run.ntfs.folder_files(self) : std::vector<NtfsFolderFile>{};
}

bool PassedOver(const NtfsFolderFile& file) {
  return !file.first_row && file.flagged && (file.size_text.empty() || file.size_text == "0");
}

}  // namespace

void SaveNtfsFolder(SaveRun& run, std::uint64_t self, const std::filesystem::path& folder) {
  ErrorReporter& reporter = run.app.reporter;
  reporter.Guarded("Save ntfs directory...", "S", "8J", [&] {
    const std::vector<NtfsFolderFile> files = FolderFiles(run, self);
    reporter.Guarded("Recover ntfs files...", "S", "8K", [&] {
      for (const NtfsFolderFile& file : files) {
        if (run.Stopped()) return;
        if (PassedOver(file)) continue;
        const std::filesystem::path path = FileDestination(folder, file.name, "");
        std::error_code error;
        if (file.flagged && std::filesystem::exists(std::filesystem::symlink_status(path, error))) {
          ++run.state.counters.invalid_entries;
          run.ShowCounters();
          continue;
        }
        run.ShowCounters();
        WriteNtfsFile(run, {.path = path, .name = file.name, .record_sector = file.record_sector});
      }
    });
  });
}

std::uint64_t CountNtfsFolderFiles(SaveRun& run, std::uint64_t self) {
  std::uint64_t count = 0;
  run.app.reporter.Guarded("Calculating ntfs files...", "S", "8A5", [&] {
    for (const NtfsFolderFile& file : FolderFiles(run, self)) count += PassedOver(file) ? 0 : 1;
  });
  return count;
}

}  // namespace pellora
