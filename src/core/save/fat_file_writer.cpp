#include "save/fat_file_writer.hpp"

#include "fat/file_content.hpp"
#include "save/saved_file.hpp"

namespace pellora {

std::optional<std::filesystem::path> WriteFatFile(SaveRun& run, const FatFileRequest& request) {
  ++run.state.counters.files_done;
  run.ShowFile(request.name, request.path, request.size);
  std::optional<std::filesystem::path> written;
  ErrorReporter& reporter = run.app.reporter;
  reporter.Guarded("Save recoverd file...", "S", "8E", [&] {
    const FatVolume volume = run.Volume();
    std::vector<std::uint32_t> clusters;
    const bool chained = reporter.Guarded("Get fat chain...", "S", "8F", [&] {
      clusters = FatFileClusters(volume, request.first_cluster, request.size);
    });
    if (run.Stopped()) return;
    if (!chained) {
      run.state.unsaved.push_back({UnsavedItem::Kind::kNotWritten, request.path, "its clusters could not be read"});
      return;
    }
    SavedFile file(run);
    if (!file.Create(request.path)) return;
    CopyEnd end = CopyEnd::kReadFailed;
    reporter.Guarded("Saving data...", "S", "8G",
                     [&] { end = CopyFatFile(volume, clusters, request.size, file.Sink(), file.Direct()); });
    file.Close(end == CopyEnd::kComplete, request.size);
    written = file.Path();
  });
  return written;
}

}  // namespace pellora
