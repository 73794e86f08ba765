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

DefinitionPaths MakeDefinitionPaths(const std::filesystem::path& folder);

// Where the definition files lie: beside the executable (a build, or a program unpacked anywhere),
// else in the data folder of the installation the executable belongs to (bin/../share/pellora).
// The executable's own folder when neither holds them, so that start-up names the file missing there.
std::filesystem::path DefinitionFolder(const std::filesystem::path& executable_dir);

}  // namespace pellora
