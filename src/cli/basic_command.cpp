// pellora-cli basic: Basic Search of a FAT or NTFS partition, printed as a tree of folders with
// their files.

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <stop_token>

#include "app/modes.hpp"
#include "cli_context.hpp"
#include "interrupt_watcher.hpp"
#include "model/date_time_format.hpp"
#include "search/basic_search.hpp"
#include "search/file_list_filler.hpp"

namespace pellora::cli {

namespace {

struct BasicOptions {
  std::string drive;
  std::optional<int> partition;
};

struct FolderView {
  std::string name;
  std::uint64_t self = 0;
  std::uint64_t parent = 0;
  bool deleted = false;
  std::string date;
  std::string time;
};

bool OnNtfs(const AppState& app) { return app.partition_params.fs.ParamsFileSystemName == "NTFS"; }

FolderView ViewOf(const AppState& app, ItemId item) {
  const FolderNode* node = app.results.nodes.ByItem(item);
  if (node == nullptr) return {app.results.tree.Title(item), 0, 0, false, "", ""};
  // NTFS folders carry the creation time of their name; FAT folders a date and a time word.
  if (OnNtfs(app) && node->self != kMiscellaneousSelf) {
    DateTimeText when = FormatFileTime(node->date);
    return {node->name, node->self, node->parent, node->deleted, std::move(when.date), std::move(when.time)};
  }
  return {node->name,
          node->self,
          node->parent,
          node->deleted,
          FormatFatDate(static_cast<std::uint16_t>(node->date)),
          FormatFatTime(static_cast<std::uint16_t>(node->time))};
}

nlohmann::json FileJson(const AppState& app, const FileListRow& file) {
  return {{"name", file.name},       {"short_name", file.short_name},
          {"type", file.type},       {"size", file.size},
          {"date", file.date},       {"time", file.time},
          {"deleted", file.deleted}, {OnNtfs(app) ? "record_sector" : "first_cluster", file.self}};
}

nlohmann::json FolderJson(AppState& app, ItemId item) {
  const FolderView view = ViewOf(app, item);
  nlohmann::json folder = {{"name", view.name},       {"self", view.self}, {"parent", view.parent},
                           {"deleted", view.deleted}, {"date", view.date}, {"time", view.time}};
  nlohmann::json children = nlohmann::json::array();
  for (ItemId child : app.results.tree.Children(item)) children.push_back(FolderJson(app, child));
  nlohmann::json files = nlohmann::json::array();
  for (const FileListRow& file : FileLines(app, item)) files.push_back(FileJson(app, file));
  folder["children"] = std::move(children);
  folder["files"] = std::move(files);
  return folder;
}

// One branch as `tree` draws it: folders first, then the folder's files.
void PrintFolder(AppState& app, ItemId item, const std::string& indent) {
  const auto& children = app.results.tree.Children(item);
  const std::vector<FileListRow> files = FileLines(app, item);
  const std::size_t total = children.size() + files.size();
  std::size_t index = 0;
  for (ItemId child : children) {
    const bool last = ++index == total;
    const FolderView view = ViewOf(app, child);
    std::cout << indent << (last ? "└── " : "├── ") << view.name << "/" << (view.deleted ? "  [deleted]" : "") << '\n';
    PrintFolder(app, child, indent + (last ? "    " : "│   "));
  }
  for (const FileListRow& file : files) {
    const bool last = ++index == total;
    std::cout << indent << (last ? "└── " : "├── ") << file.name << "  (" << file.type << ", " << file.size
              << " bytes, " << file.date << ' ' << file.time << ')' << (file.deleted ? "  [deleted]" : "") << '\n';
  }
}

int RunBasic(CliContext& context, const BasicOptions& options) {
  AppState& app = context.app;
  const Validation validation = context.SelectAndValidate(options.drive, options.partition);
  if (validation == Validation::kRefused) return kExitFailed;
  if (validation == Validation::kUnrecognised) {
    ShowEndMessage(app, false);
    if (context.options.json)
      CliContext::PrintJson({{"file_system", app.partition_params.FileSystemName},
                             {"message", context.ui.LastEndMessage()},
                             {"root", nullptr}});
    return kExitFailed;
  }

  BasicSearchOutcome outcome;
  {
    std::stop_source stop;
    InterruptWatcher watcher(context.ui, "Do you want to stop searching?", [&stop] { stop.request_stop(); });
    outcome = RunBasicSearch(app, stop.get_token());
  }
  context.ui.FinishProgress();

  const ResultTree& tree = app.results.tree;
  if (context.options.json) {
    CliContext::PrintJson({{"file_system", app.partition_params.FileSystemName},
                           {"message", context.ui.LastEndMessage()},
                           {"root", tree.Empty() ? nlohmann::json() : FolderJson(app, tree.FirstItem())}});
  } else if (!tree.Empty()) {
    std::cout << tree.Title(tree.FirstItem()) << '\n';
    PrintFolder(app, tree.FirstItem(), "");
  }
  return outcome.results_empty ? kExitFailed : kExitDone;
}

}  // namespace

void AddBasicCommand(CLI::App& cli, CommandRun& chosen) {
  auto options = std::make_shared<BasicOptions>();
  CLI::App* command = cli.add_subcommand("basic", "Basic Search: rebuild the folder tree of a FAT or NTFS partition");
  command->add_option("--drive", options->drive, "disk:N, vol:E, or the path of an attached image")->required();
  command->add_option("--partition", options->partition, "The partition's number in the drive tree")
      ->check(CLI::Range(1, 27));
  command->callback([options, &chosen] { chosen = [options](CliContext& c) { return RunBasic(c, *options); }; });
}

}  // namespace pellora::cli
