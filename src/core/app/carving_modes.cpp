#include "app/carving_modes.hpp"

#include <optional>

#include "app/search_selection.hpp"
#include "app/startup.hpp"
#include "carving/photo_search.hpp"
#include "common/output_file.hpp"
#include "common/text.hpp"
#include "save/destination_check.hpp"
#include "state/end_message.hpp"

namespace pellora {

namespace {

// Destination + "Pellora/" + the mode's folder, made when missing; nullopt (after the message)
// when the destination folder does not exist or the mode's folder cannot be made in it.
std::optional<std::filesystem::path> PrepareModeFolder(AppState& app, const CarvingRequest& request,
                                                       std::string_view mode_folder_name) {
  const std::filesystem::path chosen(std::string(Trim(request.destination.string())));
  std::error_code error;
  if (chosen.empty() || !std::filesystem::is_directory(chosen, error)) {
    app.ui.ShowMessage(kDestinationMissingText);
    return std::nullopt;
  }
  // Carved files written onto the card being searched would overwrite what is still to be found.
  if (OnSourceMedium(app.devices, request.range.device_path, chosen)) {
    app.ui.ShowMessage(kDifferentDriveNote);
    return std::nullopt;
  }
  const std::filesystem::path mode_folder = chosen / kCarvingRootFolder / mode_folder_name;
  // A folder that cannot be made takes no file: say so now rather than search for nothing.
  std::filesystem::create_directories(mode_folder, error);
  if (!std::filesystem::is_directory(mode_folder, error)) {
    app.ui.ShowMessage(kSaveFailureText, kMessageCaption);
    return std::nullopt;
  }
  return mode_folder;
}

// The worker around the passes: the range check, the guard, and the finish every carving mode shares.
template <typename Passes>
void RunCarvingWorker(AppState& app, std::string_view label, const CarvingRequest& request, std::stop_token outside,
                      CarvingReport& report, Passes&& passes) {
  app.ui.ShowText(UiText::kHint, kCarvingStartHint);
  RunStop stop(std::move(outside));
  report.started = true;
  app.reporter.Guarded(label, "R", "2TH", [&] {
    if (request.range.start_sector >= request.range.end_sector) {
      app.ui.ShowMessage(kEndNotAfterStartText);
      return;
    }
    passes(CarvingServices{app.ui, app.sectors, app.reporter, stop});
  });
  app.ui.ShowText(UiText::kHint, kCarvingFinishHint);
  report.stopped = stop.Requested();
  ShowEndMessage(app, report.stopped);
}

}  // namespace

CarvingReport RunPhotoSearch(Program& app, const CarvingRequest& request, std::stop_token stop) {
  CarvingReport report;
  const auto mode_folder = PrepareModeFolder(app, request, kPhotoSearchFolder);
  if (!mode_folder) return report;
  report.mode_folder = *mode_folder;
  report.types = CarvedTypeTable::ForPhoto(app.photo_definitions);
  RunCarvingWorker(app, "searching for image data...", request, std::move(stop), report, [&](CarvingServices services) {
    RunPhotoPasses(services, request.range, report.mode_folder, app.photo_definitions, request.thorough, report.types,
                   request.files_per_folder);
  });
  return report;
}

SignatureSearchKind SignatureKindFor(const DefinitionPaths& paths, SearchMode mode) {
  if (mode == SearchMode::kVideo) return {"Video", paths.video_general, paths.video_advance};
  return {"Signature", paths.signature_general, paths.signature_advance};
}

CarvingReport RunSignatureSearch(Program& app, const SignatureSearchKind& kind, TypeChecklist& checklist,
                                 const CarvingRequest& request, std::stop_token stop) {
  CarvingReport report;
  const auto mode_folder = PrepareModeFolder(app, request, kind.SearchTypeText());
  if (!mode_folder) return report;
  report.types = CarvedTypeTable::ForChecklist(checklist);
  if (report.types.Rows().empty()) {
    app.ui.ShowMessage(kNoTypeTickedText);
    return report;
  }
  DefinitionSet carving;
  const DefinitionLoad general = LoadSelectedDefinitions(checklist, kind.general_file, carving);
  if (!general.opened) {
    app.ui.ShowMessage(general.error);
    return report;
  }
  ShowRejections(app.ui, general.rejections);
  checklist.Freeze();
  report.mode_folder = *mode_folder;
  RunCarvingWorker(app, "Searching for data...", request, std::move(stop), report, [&](CarvingServices services) {
    const DefinitionLoad advance = RunSignaturePasses(services, request.range, report.mode_folder, kind, checklist,
                                                      carving, report.types, request.files_per_folder);
    if (!advance.opened) app.ui.ShowMessage(advance.error);
    ShowRejections(app.ui, advance.rejections);
  });
  return report;
}

}  // namespace pellora
