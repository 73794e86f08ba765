#pragma once

#include <filesystem>
#include <string>

#include "app/definition_paths.hpp"
#include "carving/definition_file.hpp"
#include "state/app_state.hpp"

namespace pellora {

// The state of one run of the program as start-up and the modes see it: what the engines share,
// plus what only start-up and the mode setup read (the definition files and the command line).
struct Program : AppState {
  using AppState::AppState;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  // The workers end before the definitions they may read go.
  ~Program() { EndWorkers(); }

  std::filesystem::path executable_dir;
  DefinitionPaths definition_paths;
  PhotoDefinitions photo_definitions;
  // A recovery log named on the command line; cleared once the user starts a mode.
  std::string command_line_log_path;
};

}  // namespace pellora
