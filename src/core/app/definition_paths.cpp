#include "app/definition_paths.hpp"

namespace pellora {

DefinitionPaths MakeDefinitionPaths(const std::filesystem::path& executable_dir) {
  return {executable_dir / "QELExt2.dll",     executable_dir / "QELExt2Adv.dll", executable_dir / "QELVideo.dll",
          executable_dir / "QELVideoAdv.dll", executable_dir / "QELSig.dll",     executable_dir / "QELSigAdv.dll"};
}

}  // namespace pellora
