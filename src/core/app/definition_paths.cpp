#include "app/definition_paths.hpp"

namespace pellora {

DefinitionPaths MakeDefinitionPaths(const std::filesystem::path& folder) {
  return {folder / "QELExt2.dll",     folder / "QELExt2Adv.dll", folder / "QELVideo.dll",
          folder / "QELVideoAdv.dll", folder / "QELSig.dll",     folder / "QELSigAdv.dll"};
}

std::filesystem::path DefinitionFolder(const std::filesystem::path& executable_dir) {
  std::error_code error;
  if (std::filesystem::exists(executable_dir / "QELExt2.dll", error)) return executable_dir;
  const std::filesystem::path installed = executable_dir.parent_path() / "share" / "pellora";
  if (std::filesystem::exists(installed / "QELExt2.dll", error)) return installed;
  return executable_dir;
}

}  // namespace pellora
