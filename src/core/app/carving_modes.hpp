#pragma once

#include <cstdint>
#include <filesystem>
#include <stop_token>
#include <string_view>

#include "app/program.hpp"
#include "carving/carved_type_table.hpp"
#include "carving/carving_engine.hpp"
#include "carving/signature_search.hpp"
#include "carving/type_checklist.hpp"
#include "common/search_mode.hpp"

namespace pellora {

inline constexpr std::string_view kDestinationMissingText =
    "Please specify the Destination path where the recovered data will be saved by clicking on 'Browse' button.";
inline constexpr std::string_view kNoTypeTickedText =
    "Please select at least one Extension type to continue recovery process.";
inline constexpr std::string_view kCarvingStartHint =
    "\nTo Stop recovery, click on 'Stop Search' Button or please wait for the process to be completed.";
// The folder under the destination that every carving mode writes into.
inline constexpr std::string_view kCarvingRootFolder = "Pellora";

// The second click of a carving mode's start button: where to write and what to read.
struct CarvingRequest {
  CarvingRange range;
  std::filesystem::path destination;  // the folder the person chose
  bool thorough = false;              // Photo Search: "Also perform Thorough Scanning Algorithm Search"
  std::uint64_t files_per_folder = kFilesPerFolder;
};

struct CarvingReport {
  bool started = false;  // false when a check refused the start; its message was shown
  bool stopped = false;
  std::filesystem::path mode_folder;  // destination + "Pellora/Photo Search", ...
  CarvedTypeTable types{TypeRowMatch::kExact};
};

// Photo Search from the second click to the end message: destination checked, folders made, the
// General and optional Thorough pass, the end message. Runs on the caller's thread (the search
// worker); a stop through the token ends it at the next sector.
CarvingReport RunPhotoSearch(Program& app, const CarvingRequest& request, std::stop_token stop = {});

// The mode word and definition files of Video (mode 4) or Signature Search (mode 5).
SignatureSearchKind SignatureKindFor(const DefinitionPaths& paths, SearchMode mode);

// Video or Signature Search from the second click to the end message, with the types ticked in
// checklist. The checklist takes no new rows after the first search.
CarvingReport RunSignatureSearch(Program& app, const SignatureSearchKind& kind, TypeChecklist& checklist,
                                 const CarvingRequest& request, std::stop_token stop = {});

}  // namespace pellora
