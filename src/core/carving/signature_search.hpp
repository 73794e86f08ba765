#pragma once

#include <filesystem>
#include <string>

#include "carving/carved_type_table.hpp"
#include "carving/carving_engine.hpp"
#include "carving/definition_file.hpp"
#include "carving/type_checklist.hpp"

namespace pellora {

// Video Search and Signature Search are one search told apart by a mode word and its two
// definition files.
struct SignatureSearchKind {
  std::string mode_word;  // "Video" or "Signature"
  std::filesystem::path general_file;
  std::filesystem::path advance_file;

  // "Video Search": the window caption and the folder under "Pellora".
  std::string SearchTypeText() const { return mode_word + " Search"; }
};

// The two passes of Video or Signature Search into mode_folder: the General pass with
// `general` (the ticked definitions of the general file, emptied afterwards), then, unless
// stopped, the Thorough pass with the ticked definitions of the advance file when it defines any.
// Numbers and found counts of a type carry on from one pass to the next.
DefinitionLoad RunSignaturePasses(CarvingServices services, const CarvingRange& range,
                                  const std::filesystem::path& mode_folder, const SignatureSearchKind& kind,
                                  const TypeChecklist& checklist, DefinitionSet& general, CarvedTypeTable& types,
                                  std::uint64_t files_per_folder = kFilesPerFolder);

}  // namespace pellora
