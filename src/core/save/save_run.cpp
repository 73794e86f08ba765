#include "save/save_run.hpp"

#include "common/output_file.hpp"
#include "save/destination_naming.hpp"
#include "state/current_volume.hpp"

namespace pellora {

SaveRun::SaveRun(AppState& app_state, SaveState& save_state, DeepPartitions* deep_partitions, bool show_progress,
                 std::stop_token outside)
    : app(app_state),
      state(save_state),
      deep(deep_partitions),
      stop(std::move(outside)),
      ntfs(NtfsFileSourceFor(app_state, stop.Token())),
      show_progress_(show_progress) {}

bool SaveRun::DeepMode() const { return app.mode.Get() == SearchMode::kDeep && deep != nullptr && deep->Count() > 0; }

const FileSystemKind& SaveRun::FileSystem() const { return app.working_params.ParamsFileSystemName; }

bool SaveRun::Fat() const { return FileSystem().Fat(); }

bool SaveRun::Ntfs() const { return FileSystem().Ntfs(); }

FatVolume SaveRun::Volume() const { return CurrentFatVolume(app, stop.Token()); }

void SaveRun::ShowFile(const std::string& name, const std::filesystem::path& path, std::uint64_t size) {
  progress_.file_name = name;
  progress_.file_path = PathDisplayText(path.native());
  progress_.file_written = 0;
  progress_.file_size = size;
  Report(SavePhase::kSaving);
}

void SaveRun::ShowFileBytes(std::uint64_t written) {
  progress_.file_written = written;
  Report(SavePhase::kSaving);
}

void SaveRun::ShowCounters() { Report(SavePhase::kSaving); }

void SaveRun::ShowCount() { Report(SavePhase::kCounting); }

void SaveRun::Report(SavePhase phase) {
  if (!show_progress_) return;
  const SaveCounters& c = state.counters;
  progress_.phase = phase;
  progress_.files_done = phase == SavePhase::kCounting ? 0 : c.files_done;
  progress_.files_selected = c.files_selected;
  progress_.folders_saved = phase == SavePhase::kCounting ? 0 : c.folders_saved;
  progress_.folders_selected = c.folders_selected;
  progress_.invalid_entries = c.invalid_entries;
  switch (app.ui.ShowSaveProgress(progress_)) {
    case SaveButton::kSkip:
      if (phase == SavePhase::kSaving) state.skip = true;
      break;
    case SaveButton::kStop:
      stop.Request();
      break;
    case SaveButton::kNone:
      break;
  }
}

void SaveRun::OutOfSpace() {
  if (state.end != SaveEnd::kOutOfSpace) app.ui.ShowMessage(kSaveFailureText, kMessageCaption);
  state.end = SaveEnd::kOutOfSpace;
  stop.Request();
}

}  // namespace pellora
