#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli_context.hpp"
#include "fat/found_partition.hpp"
#include "model/file_list.hpp"
#include "save/deep_mode.hpp"
#include "state/app_state.hpp"

namespace CLI {
class App;
}

namespace pellora::cli {

// The files of a folder of the result tree (Basic: from the current partition; Deep: from the
// folder's own).
using FileLister = std::function<std::vector<FileListRow>(ItemId item)>;

// The saving options of the search commands.
struct SaveOptions {
  std::optional<std::string> save;
  bool all = false;
  std::vector<std::string> select;
  std::vector<std::string> select_files;
  std::optional<std::string> on_conflict;
  std::optional<std::string> on_long_path;
};
void AddSaveOptions(CLI::App& command, SaveOptions& options);

// The result tree as `tree` draws it: folders first, then each folder's files.
void PrintResultTree(AppState& app, const FileLister& files);
// The result tree as JSON (null when empty).
nlohmann::json ResultTreeJson(AppState& app, const FileLister& files);

// Saves the selection after the search, with Ctrl-C asking whether to stop. False unless every
// selected file was written whole (refused, stopped, out of space, or files not saved).
bool SaveResults(CliContext& context, const SaveOptions& options, const FileLister& files,
                 DeepPartitions* deep = nullptr);
nlohmann::json SaveJson(const AppState& app);
// The partitions a Deep Search found (or its log holds), one object each.
nlohmann::json PartitionsJson(const std::vector<FoundPartition>& partitions);

// --log-out FILE.DMC of the search commands: the recovery log of what the search found.
void AddLogOutOption(CLI::App& command, std::optional<std::string>& log_out);
// Writes it when asked for (deep: Deep Search's found partitions). False when it was asked for and
// not written (nothing was found, or the file could not be written; the message says which).
bool WriteLogOut(CliContext& context, const std::optional<std::string>& log_out,
                 const std::vector<FoundPartition>* deep = nullptr);

}  // namespace pellora::cli
