#pragma once

#include <filesystem>

#include "carving/carved_type_table.hpp"
#include "carving/carving_engine.hpp"
#include "carving/definition_file.hpp"

namespace pellora {

inline constexpr std::string_view kPhotoSearchFolder = "Photo Search";

// The two passes of Photo Search into mode_folder ("Pellora/Photo Search" of the destination): the
// General pass with the General photo set, then, when thorough is set and the search was not
// stopped, the Thorough pass with the Advance set. types is the type table (see ForPhoto).
void RunPhotoPasses(CarvingServices services, const CarvingRange& range, const std::filesystem::path& mode_folder,
                    const PhotoDefinitions& photo, bool thorough, CarvedTypeTable& types,
                    std::uint64_t files_per_folder = kFilesPerFolder);

}  // namespace pellora
