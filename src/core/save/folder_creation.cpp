#include "save/folder_creation.hpp"

#include <sys/stat.h>

#include <cerrno>

#include "save/destination_naming.hpp"
#include "save/long_paths.hpp"

namespace pellora {

std::optional<std::filesystem::path> CreateFolder(NamingState& naming, Ui& ui,
                                                  const std::filesystem::path& destination_base,
                                                  const std::filesystem::path& folder) {
  const int error = PathTooLong(folder) ? ENAMETOOLONG : (::mkdir(folder.c_str(), 0777) == 0 ? 0 : errno);
  if (error == ENOENT) {
    // A folder whose parents are missing (a ticked folder below an unticked one): make them all.
    // Whatever still fails shows when its files are written.
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
  } else if (error == ENAMETOOLONG) {
    const auto base = LongPathBase(naming, ui, destination_base, folder);
    if (!base) return std::nullopt;
    const std::filesystem::path replacement = *base / folder.filename();
    std::error_code ignored;
    std::filesystem::create_directories(replacement, ignored);
    return replacement;
  }
  return folder;
}

}  // namespace pellora
