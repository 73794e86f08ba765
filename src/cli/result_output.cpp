// The result tree of a Basic or Deep Search, printed or as JSON, and saving it.

#include "result_output.hpp"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>

#include "interrupt_watcher.hpp"
#include "model/date_time_format.hpp"
#include "recoverylog/log_session.hpp"
#include "save/start_save.hpp"
#include "terminal_text.hpp"

namespace pellora::cli {

namespace {

struct FolderView {
  std::string name;
  std::uint64_t self = 0;
  std::uint64_t parent = 0;
  bool deleted = false;
  std::string date;
  std::string time;
};

bool OnNtfs(const AppState& app) { return app.partition_params.fs.ParamsFileSystemName.Ntfs(); }

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

nlohmann::json FolderJson(AppState& app, ItemId item, const FileLister& list_files) {
  const FolderView view = ViewOf(app, item);
  nlohmann::json folder = {{"name", view.name},       {"self", view.self}, {"parent", view.parent},
                           {"deleted", view.deleted}, {"date", view.date}, {"time", view.time}};
  nlohmann::json children = nlohmann::json::array();
  for (ItemId child : app.results.tree.Children(item)) children.push_back(FolderJson(app, child, list_files));
  nlohmann::json files = nlohmann::json::array();
  for (const FileListRow& file : list_files(item)) files.push_back(FileJson(app, file));
  folder["children"] = std::move(children);
  folder["files"] = std::move(files);
  return folder;
}

// One branch as `tree` draws it: folders first, then the folder's files.
void PrintFolder(AppState& app, ItemId item, const std::string& indent, const FileLister& list_files) {
  const auto& children = app.results.tree.Children(item);
  const std::vector<FileListRow> files = list_files(item);
  const std::size_t total = children.size() + files.size();
  std::size_t index = 0;
  for (ItemId child : children) {
    const bool last = ++index == total;
    const FolderView view = ViewOf(app, child);
    std::cout << indent << (last ? "└── " : "├── ") << TerminalText(view.name) << "/"
              << (view.deleted ? "  [deleted]" : "") << '\n';
    PrintFolder(app, child, indent + (last ? "    " : "│   "), list_files);
  }
  for (const FileListRow& file : files) {
    const bool last = ++index == total;
    std::cout << indent << (last ? "└── " : "├── ") << TerminalText(file.name) << "  (" << TerminalText(file.type)
              << ", " << file.size << " bytes, " << file.date << ' ' << file.time << ')'
              << (file.deleted ? "  [deleted]" : "") << '\n';
  }
}

// The folder of the result tree at a path of titles below "Root" ("DCIM/100PELLO"; "" is Root).
ItemId FolderAt(const ResultTree& tree, std::string_view path) {
  ItemId item = tree.FirstItem();
  std::size_t at = 0;
  while (item != kNoItem && at < path.size()) {
    std::size_t end = path.find('/', at);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view title = path.substr(at, end - at);
    at = end + 1;
    if (title.empty()) continue;
    ItemId found = kNoItem;
    for (ItemId child : tree.Children(item))
      if (tree.Title(child) == title) found = child;
    item = found;
  }
  if (item == kNoItem) throw CliError("The result tree has no folder \"" + std::string(path) + "\".");
  return item;
}

ReplaceChoice ConflictChoice(std::string_view answer) {
  if (answer == "overwrite") return ReplaceChoice::kOverwrite;
  if (answer == "skip") return ReplaceChoice::kSkip;
  if (answer == "cancel") return ReplaceChoice::kCancel;
  return ReplaceChoice::kRename;
}

LongPathAnswer LongPathPolicy(const std::string& answer) {
  if (answer == "ignore") return {.choice = LongPathChoice::kIgnore, .for_all = true, .folder = {}};
  if (answer == "misc") return {.choice = LongPathChoice::kMoveToMiscellaneous, .for_all = true, .folder = {}};
  return {.choice = LongPathChoice::kBrowse,
          .for_all = true,
          .folder = std::filesystem::absolute(answer).lexically_normal().string()};
}

// What --all, --select and --select-file choose: folders ticked in the tree (everything when none
// is named), or rows of the file lists of their folders.
SaveRequest SaveSelection(AppState& app, const SaveOptions& options, const FileLister& files) {
  SaveRequest request;
  request.destination = *options.save;
  ResultTree& tree = app.results.tree;
  if (tree.Empty()) return request;
  if (!options.select_files.empty()) {
    request.source = SaveSource::kSelectedRows;
    for (const std::string& path : options.select_files) {
      const std::size_t slash = path.rfind('/');
      const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
      const ItemId folder = FolderAt(tree, slash == std::string::npos ? "" : std::string_view(path).substr(0, slash));
      const std::size_t before = request.rows.size();
      for (FileListRow& row : files(folder))
        if (row.name == name) request.rows.push_back(std::move(row));
      if (request.rows.size() == before) throw CliError("The result tree has no file \"" + path + "\".");
    }
  } else if (options.select.empty()) {
    tree.SetChecked(tree.FirstItem(), true);
  } else {
    for (const std::string& path : options.select) tree.SetChecked(FolderAt(tree, path), true);
  }
  return request;
}

const char* SaveEndName(SaveEnd end) {
  switch (end) {
    case SaveEnd::kNone:
      return "none";
    case SaveEnd::kRefused:
      return "refused";
    case SaveEnd::kCountStopped:
      return "count stopped";
    case SaveEnd::kCompleted:
      return "completed";
    case SaveEnd::kStopped:
      return "stopped";
    case SaveEnd::kOutOfSpace:
      return "out of space";
  }
  return "none";
}

}  // namespace

nlohmann::json SaveJson(const AppState& app) {
  const SaveState& state = app.save;
  const SaveCounters& c = state.counters;
  const bool shown = EverythingWritten(state);
  nlohmann::json unsaved = nlohmann::json::array();
  for (const UnsavedItem& item : state.unsaved)
    unsaved.push_back({{"path", item.path.string()},
                       {"state", item.kind == UnsavedItem::Kind::kIncomplete ? "incomplete"
                                 : item.kind == UnsavedItem::Kind::kKept     ? "kept"
                                                                             : "not written"},
                       {"reason", item.reason}});
  return {{"destination", state.destination_base.string()},
          {"end", SaveEndName(state.end)},
          {"message", shown ? nlohmann::json(kSaveCompletedText) : nlohmann::json()},
          {"files_selected", c.files_selected},
          {"folders_selected", c.folders_selected},
          {"files_done", c.files_done},
          {"files_saved", c.files_saved},
          {"folders_saved", c.folders_saved},
          {"files_written", c.files_written},
          {"files_incomplete", c.files_incomplete},
          {"invalid_entries", c.invalid_entries},
          {"unsaved", std::move(unsaved)}};
}

bool SaveResults(CliContext& context, const SaveOptions& options, const FileLister& files, DeepPartitions* deep) {
  AppState& app = context.app;
  if (options.on_conflict) context.ui.SetConflictAnswer(ConflictChoice(*options.on_conflict));
  if (options.on_long_path) context.ui.SetLongPathAnswer(LongPathPolicy(*options.on_long_path));
  SaveRequest request = SaveSelection(app, options, files);
  request.deep_partitions = deep;
  if (!StartSave(app, std::move(request))) return false;
  {
    InterruptWatcher watcher(context.ui, std::string(kStopSavingQuestion), [&app] { app.saving.RequestStop(); });
    app.saving.Join();
  }
  context.ui.FinishProgress();
  return EverythingWritten(app.save);
}

void PrintResultTree(AppState& app, const FileLister& files) {
  const ResultTree& tree = app.results.tree;
  if (tree.Empty()) return;
  std::cout << TerminalText(tree.Title(tree.FirstItem())) << '\n';
  PrintFolder(app, tree.FirstItem(), "", files);
}

nlohmann::json ResultTreeJson(AppState& app, const FileLister& files) {
  const ResultTree& tree = app.results.tree;
  return tree.Empty() ? nlohmann::json() : FolderJson(app, tree.FirstItem(), files);
}

void AddSaveOptions(CLI::App& command, SaveOptions& options) {
  CLI::Option* save =
      command.add_option("--save", options.save, "Save what was found into this folder (on another drive)");
  CLI::Option* all = command.add_flag("--all", options.all, "Save everything found (the default with --save)");
  CLI::Option* select =
      command.add_option("--select", options.select, "Save this folder of the result tree (DCIM/100PELLO)");
  CLI::Option* select_file = command.add_option("--select-file", options.select_files,
                                                "Save this file of the result tree (DCIM/100PELLO/IMG_0001.JPG)");
  all->needs(save)->excludes(select)->excludes(select_file);
  select->needs(save)->excludes(select_file);
  select_file->needs(save);
  command
      .add_option("--on-conflict", options.on_conflict, "A file that exists already: overwrite, rename, skip or cancel")
      ->check(CLI::IsMember({"overwrite", "rename", "skip", "cancel"}))
      ->needs(save);
  command
      .add_option("--on-long-path", options.on_long_path,
                  "A path too long: ignore, misc (ZYD_Miscellaneous) or a folder to save into")
      ->needs(save);
}

void AddLogOutOption(CLI::App& command, std::optional<std::string>& log_out) {
  command.add_option("--log-out", log_out,
                     "Save the recovery log (FILE.DMC) of what was found, to load later instead of scanning again");
}

bool WriteLogOut(CliContext& context, const std::optional<std::string>& log_out,
                 const std::vector<FoundPartition>* deep) {
  if (!log_out) return true;
  return SaveLogAllowed(context.app) && SaveRecoveryLog(context.app, *log_out, deep);
}

nlohmann::json PartitionsJson(const std::vector<FoundPartition>& partitions) {
  nlohmann::json rows = nlohmann::json::array();
  for (const FoundPartition& partition : partitions) {
    const FoundBootSector& b = partition.boot;
    rows.push_back({{"file_system", b.file_system},
                    {"boot_sector", b.sector},
                    {"sectors_per_cluster", b.sectors_per_cluster},
                    {"cluster0_start", b.cluster0_start},
                    {"sectors_per_fat", b.sectors_per_fat},
                    {"first_fat", b.first_fat},
                    {"second_fat", b.second_fat},
                    {"fat_searched", partition.fat_searched}});
  }
  return rows;
}

}  // namespace pellora::cli
