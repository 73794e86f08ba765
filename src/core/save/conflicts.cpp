#include "save/conflicts.hpp"

#include "save/destination_naming.hpp"

namespace pellora {

namespace {

ReplaceMode ModeOf(const ReplaceAnswer& answer) {
  switch (answer.choice) {
    case ReplaceChoice::kOverwrite:
      return answer.apply_to_all ? ReplaceMode::kOverwriteAll : ReplaceMode::kAsk;
    case ReplaceChoice::kRename:
      return answer.apply_to_all ? ReplaceMode::kRenameAll : ReplaceMode::kRenameOne;
    case ReplaceChoice::kSkip:
      return answer.apply_to_all ? ReplaceMode::kSkipAll : ReplaceMode::kSkipOne;
    case ReplaceChoice::kCancel:
      return ReplaceMode::kSkipAll;
  }
  return ReplaceMode::kAsk;
}

// The first free "_zy_N" name for path, as probing from 0 gives it.
std::filesystem::path NextNewName(NamingState& naming, const std::filesystem::path& path) {
  std::uint64_t& number = naming.new_name_numbers[path.native()];
  return NewNamePath(path, number, number);
}

}  // namespace

std::optional<std::filesystem::path> ResolveFileName(NamingState& naming, Ui& ui, RunStop& stop,
                                                     const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) return path;
  switch (naming.replace) {
    case ReplaceMode::kSkipAll:
      return std::nullopt;
    case ReplaceMode::kRenameAll:
      return NextNewName(naming, path);
    case ReplaceMode::kOverwriteAll:
      return path;
    case ReplaceMode::kAsk:
    case ReplaceMode::kSkipOne:
    case ReplaceMode::kRenameOne:
      break;
  }
  const std::filesystem::path proposal = NextNewName(naming, path);
  const ReplaceAnswer answer = ui.AskReplace(path.native(), proposal.native());
  naming.replace = ModeOf(answer);
  if (answer.choice == ReplaceChoice::kCancel) stop.Request();
  switch (naming.replace) {
    case ReplaceMode::kSkipOne:
    case ReplaceMode::kSkipAll:
      return std::nullopt;
    case ReplaceMode::kRenameOne:
    case ReplaceMode::kRenameAll:
      if (answer.new_path.empty()) return proposal;
      // A bare name typed into "New File :" stays in the file's own folder.
      return path.parent_path() / std::filesystem::path(answer.new_path);
    case ReplaceMode::kAsk:
    case ReplaceMode::kOverwriteAll:
      break;
  }
  return path;
}

}  // namespace pellora
