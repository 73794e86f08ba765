#include "save/ntfs_file_writer.hpp"

#include "save/saved_file.hpp"

namespace pellora {

std::optional<std::filesystem::path> WriteNtfsFile(SaveRun& run, const NtfsFileRequest& request) {
  ++run.state.counters.files_done;
  std::optional<std::filesystem::path> written;
  ErrorReporter& reporter = run.app.reporter;
  reporter.Guarded("Save ntfs file...", "S", "8B", [&] {
    NtfsSavedContent data;
    reporter.Guarded("Get data runs...", "S", "8C", [&] {
      if (run.ntfs.file_data) data = run.ntfs.file_data(request.record_sector);
    });
    const bool resident = data.kind == NtfsSavedContent::Kind::kResident;
    const std::uint64_t size = resident                                     ? data.value.size()
                               : data.kind == NtfsSavedContent::Kind::kNone ? 0
                                                                            : data.size;
    run.ShowFile(request.name, request.path, size);
    if (run.Stopped()) return;
    SavedFile file(run);
    if (!file.Create(request.path)) return;
    bool complete = true;  // nothing to write: the empty file is the whole of it
    if (resident) {
      reporter.Guarded("Save file ntfs quick...", "S", "8A", [&] {
        file.Write(data.value);
        complete = file.Written() == data.value.size();
      });
    } else if (data.kind == NtfsSavedContent::Kind::kNonResident) {
      reporter.Guarded("Saving data...", "S", "8G", [&] {
        const CopyEnd end = data.copy ? data.copy(file.Sink())
                                      : CopyClusterRuns(run.Volume(), data.runs, data.size, file.Sink(), file.Direct());
        complete = end == CopyEnd::kComplete;
      });
    }
    file.Close(complete, size);
    written = file.Path();
  });
  return written;
}

}  // namespace pellora
