// pellora-cli video and signature: Video Search and Signature Search, carving the ticked types.

#include <CLI/CLI.hpp>

#include <iomanip>
#include <iostream>
#include <memory>
#include <sstream>

#include "carving_cli.hpp"
#include "common/text.hpp"

namespace pellora::cli {

namespace {

struct SignatureOptions {
  SearchMode mode = SearchMode::kVideo;
  CarvingCliOptions carving;
  std::string types;
  bool types_given = false;
  bool all_types = false;
  bool list_types = false;
};

void PrintChecklist(CliContext& context, const SignatureSearchKind& kind, const TypeChecklist& checklist) {
  if (context.options.json) {
    nlohmann::json types = nlohmann::json::array();
    for (const ChecklistRow& row : checklist.Rows())
      types.push_back({{"extension", row.extension}, {"description", row.description}});
    CliContext::PrintJson({{"search", kind.SearchTypeText()}, {"types", types}});
    return;
  }
  std::cout << std::left << std::setw(10) << "Extension"
            << "Description\n";
  for (const ChecklistRow& row : checklist.Rows())
    std::cout << std::left << std::setw(10) << row.extension << row.description << '\n';
}

// --types MP4,MOV: only these ticked; an unknown name is a usage error.
void TickTypes(const SignatureSearchKind& kind, const std::string& list, TypeChecklist& checklist) {
  checklist.SetAll(false);
  std::istringstream names(list);
  for (std::string name; std::getline(names, name, ',');) {
    const std::string_view trimmed = Trim(name);
    if (trimmed.empty()) continue;
    ChecklistRow* row = checklist.Find(trimmed);
    if (row == nullptr)
      throw CliError(
          "\"" + std::string(trimmed) + "\" is not a type of " + kind.SearchTypeText() + "; --list-types shows them.",
          kExitUsage);
    row->checked = true;
  }
}

int RunSignature(CliContext& context, const SignatureOptions& options) {
  const SignatureSearchKind kind = SignatureKindFor(context.app.definition_paths, options.mode);
  TypeChecklist checklist;
  const DefinitionLoad load = FillTypeChecklist(kind.general_file, kind.advance_file, 0, checklist);
  if (!load.opened) throw CliError(load.error);
  checklist.SortByExtension();
  if (options.list_types) {
    PrintChecklist(context, kind, checklist);
    return kExitDone;
  }
  if (options.types_given) TickTypes(kind, options.types, checklist);
  return RunCarvingCommand(context, options.mode, kind.SearchTypeText(), options.carving,
                           [&](const CarvingRequest& request, std::stop_token stop) {
                             return RunSignatureSearch(context.app, kind, checklist, request, std::move(stop));
                           });
}

void AddOne(CLI::App& cli, CommandRun& chosen, SearchMode mode, const char* name, const char* description) {
  auto options = std::make_shared<SignatureOptions>();
  options->mode = mode;
  CLI::App* command = cli.add_subcommand(name, description);
  AddCarvingOptions(*command, options->carving);
  CLI::Option* types =
      command->add_option("--types", options->types, "Comma-separated types to recover (MP4,MOV); default: all");
  CLI::Option* all = command->add_flag("--all-types", options->all_types, "Recover every type (the default)");
  types->excludes(all);
  command->add_flag("--list-types", options->list_types, "List the types with their descriptions and stop");
  command->callback([options, types, &chosen] {
    options->types_given = types->count() > 0;
    chosen = [options](CliContext& c) { return RunSignature(c, *options); };
  });
}

}  // namespace

void AddSignatureCommands(CLI::App& cli, CommandRun& chosen) {
  AddOne(cli, chosen, SearchMode::kVideo, "video", "Video Search: recover videos of the chosen types by signature");
  AddOne(cli, chosen, SearchMode::kSignature, "signature",
         "Signature Search: recover documents, archives and audio of the chosen types by signature");
}

}  // namespace pellora::cli
