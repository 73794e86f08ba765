#pragma once

#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "app/carving_modes.hpp"
#include "app/search_selection.hpp"
#include "cli_context.hpp"

namespace CLI {
class App;
}

namespace pellora::cli {

// The options every carving command (photo, video, signature) shares.
struct CarvingCliOptions {
  std::string drive;
  std::string range;             // START:END, empty for the whole drive
  std::optional<int> partition;  // a partition of the disk, by its number in the drive tree
  std::string destination;
  std::string on_media_removed;  // "", "cancel", "retry"
};

void AddCarvingOptions(CLI::App& command, CarvingCliOptions& options);

// "START:END" as the two range fields of a search window (either side may be empty); a usage
// error when a side is not a decimal number.
SectorRangeFields ParseRangeFields(std::string_view text);

// The drive and range a carving command scans, checked as the mode windows check them; a refusal
// ends the command with the window's message.
SearchSelection ResolveSearchSelection(CliContext& context, std::string_view search_type,
                                       const CarvingCliOptions& options);

// Runs a carving search from the command line: mode set, drive and range resolved, the information
// rows printed, Ctrl-C watched, then the summary per type (or the JSON document). run does the
// search from its second click on.
int RunCarvingCommand(CliContext& context, SearchMode mode, std::string_view search_type,
                      const CarvingCliOptions& options,
                      const std::function<CarvingReport(const CarvingRequest&, std::stop_token)>& run);

}  // namespace pellora::cli
