#include "carving/signature_search.hpp"

namespace pellora {

DefinitionLoad RunSignaturePasses(CarvingServices services, const CarvingRange& range,
                                  const std::filesystem::path& mode_folder, const SignatureSearchKind& kind,
                                  const TypeChecklist& checklist, DefinitionSet& general, CarvedTypeTable& types,
                                  std::uint64_t files_per_folder) {
  CarvingStyle style;
  style.numbering = CarvingStyle::Numbering::kPerType;
  style.status_text = {"(Searching files based on:  General " + kind.mode_word + " Recovery Procedure)",
                       "(Searching files based on:  Thorough " + kind.mode_word + " Scanning Algorithm)"};
  style.scan_label = "Searching for data files ...";
  style.files_per_folder = files_per_folder;
  CarvingEngine engine(services, range, std::move(style), types, mode_folder);
  engine.RunPass(CarvingPass::kGeneral, general);

  DefinitionSet& carving = general;  // one carving pair, refilled for the second pass
  carving.Clear();
  DefinitionLoad load{.opened = true, .error = {}, .rejections = {}};
  if (services.stop.Requested()) return load;
  load = LoadSelectedDefinitions(checklist, kind.advance_file, carving);
  if (load.opened && !carving.Empty()) engine.RunPass(CarvingPass::kThorough, carving);
  return load;
}

}  // namespace pellora
