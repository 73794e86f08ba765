#pragma once

#include <array>
#include <filesystem>

namespace pellora {

// The six definition files beside the executable, in the order start-up test-opens them.
struct DefinitionPaths {
  std::filesystem::path photo_general;      // QELExt2.dll
  std::filesystem::path photo_advance;      // QELExt2Adv.dll
  std::filesystem::path video_general;      // QELVideo.dll
  std::filesystem::path video_advance;      // QELVideoAdv.dll
  std::filesystem::path signature_general;  // QELSig.dll
  std::filesystem::path signature_advance;  // QELSigAdv.dll

  std::array<std::filesystem::path, 6> InOrder() const {
    return {photo_general, photo_advance, video_general, video_advance, signature_general, signature_advance};
  }
};

DefinitionPaths MakeDefinitionPaths(const std::filesystem::path& executable_dir);

}  // namespace pellora
