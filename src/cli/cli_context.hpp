#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/program.hpp"
#include "recognition/validate_partition.hpp"
#include "terminal_ui.hpp"

namespace CLI {
class App;
}

namespace pellora {
// A file system is written into JSON documents by its name.
inline void to_json(nlohmann::json& json, const FileSystemKind& kind) { json = kind.Text(); }
}  // namespace pellora

namespace pellora::cli {

// Exit statuses of pellora-cli.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// A failure that ends the command with a message and an exit status.
struct CliError : std::runtime_error {
  CliError(const std::string& message, int exit_code = kExitFailed) : std::runtime_error(message), code(exit_code) {}
  int code;
};

struct GlobalOptions {
  std::vector<std::string> images;
  std::vector<std::string> volume_images;
  bool no_system_drives = false;
  bool json = false;
  bool yes = false;
};

class CliContext {
 public:
  CliContext(Program& app_state, TerminalUi& terminal, const GlobalOptions& global)
      : app(app_state), ui(terminal), options(global) {}

  // The device path of --drive (disk:N, vol:E, a device path or an attached image's path).
  std::string ResolveDrive(std::string_view name) const;
  // Prints a JSON document on stdout.
  static void PrintJson(const nlohmann::json& document);
  // Lists the drives as the Basic Search window does when it opens: disks with their partitions,
  // and the logical drives.
  DriveListing& ListDrives(SearchMode mode = SearchMode::kBasic);
  // The tree item of a drive (disk:N, vol:E, ...) and, with a partition number, of its partition.
  int FindItem(std::string_view drive, std::optional<int> partition);
  // Lists the drives, selects the drive or partition and validates it as the Basic Search window's
  // start button does: PartitionParams fields 1 to 9, the current device path, the read guard.
  // Deep Search validates in its own mode, with the file system chosen for an unrecognised drive
  // (0 FAT16, 1 FAT32, 2 NTFS, 3 none).
  Validation SelectAndValidate(std::string_view drive, std::optional<int> partition,
                               SearchMode mode = SearchMode::kBasic,
                               std::optional<int> file_system_choice = std::nullopt);

  Program& app;
  TerminalUi& ui;
  const GlobalOptions& options;
};

// Each command adds its subcommand and, when it is the one chosen, sets the function to run.
using CommandRun = std::function<int(CliContext&)>;
void AddSectorsCommand(CLI::App& cli, CommandRun& chosen);
void AddPhotoCommand(CLI::App& cli, CommandRun& chosen);
void AddSignatureCommands(CLI::App& cli, CommandRun& chosen);  // video and signature
void AddDrivesCommand(CLI::App& cli, CommandRun& chosen);
void AddParamsCommand(CLI::App& cli, CommandRun& chosen);
void AddPartitionsCommand(CLI::App& cli, CommandRun& chosen);
void AddBasicCommand(CLI::App& cli, CommandRun& chosen);
void AddDeepCommand(CLI::App& cli, CommandRun& chosen);
void AddLoadLogCommand(CLI::App& cli, CommandRun& chosen);

}  // namespace pellora::cli
