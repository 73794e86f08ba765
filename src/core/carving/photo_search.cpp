#include "carving/photo_search.hpp"

namespace pellora {

void RunPhotoPasses(CarvingServices services, const CarvingRange& range, const std::filesystem::path& mode_folder,
                    const PhotoDefinitions& photo, bool thorough, CarvedTypeTable& types,
                    std::uint64_t files_per_folder) {
  CarvingStyle style;
  style.numbering = CarvingStyle::Numbering::kPerPass;
  style.name_prefix = {"GNDR", "THDR"};
  style.status_text = {"(Currently performing Search based on:  General Recovery Procedure)",
                       "(Currently performing Search based on:  Thorough Scanning Algorithm)"};
  style.scan_label = "Searching for Photos...";
  style.files_per_folder = files_per_folder;
  CarvingEngine engine(services, range, std::move(style), types, mode_folder);
  engine.RunPass(CarvingPass::kGeneral, photo.general);
  if (thorough && !services.stop.Requested()) engine.RunPass(CarvingPass::kThorough, photo.advance);
}

}  // namespace pellora
