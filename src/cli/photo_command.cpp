// pellora-cli photo: Photo Search, carving photos by their signatures.

#include <CLI/CLI.hpp>

#include <memory>

#include "carving/photo_search.hpp"
#include "carving_cli.hpp"

namespace pellora::cli {

namespace {

struct PhotoOptions {
  CarvingCliOptions carving;
  bool thorough = false;
};

int RunPhoto(CliContext& context, const PhotoOptions& options) {
  return RunCarvingCommand(context, SearchMode::kPhoto, kPhotoSearchFolder, options.carving,
                           [&](CarvingRequest request, std::stop_token stop) {
                             request.thorough = options.thorough;
                             return RunPhotoSearch(context.app, request, std::move(stop));
                           });
}

}  // namespace

void AddPhotoCommand(CLI::App& cli, CommandRun& chosen) {
  auto options = std::make_shared<PhotoOptions>();
  CLI::App* command = cli.add_subcommand("photo", "Photo Search: recover photos by their signatures");
  AddCarvingOptions(*command, options->carving);
  command->add_flag("--thorough", options->thorough, "Also perform Thorough Scanning Algorithm Search");
  command->callback([options, &chosen] { chosen = [options](CliContext& c) { return RunPhoto(c, *options); }; });
}

}  // namespace pellora::cli
