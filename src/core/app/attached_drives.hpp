#pragma once

#include <string>
#include <vector>

#include "state/app_state.hpp"

namespace pellora {

// Disk and volume images named on the command line (--image, --volume-image): the Linux stand-in
// for a card in a reader.
struct ImageArguments {
  std::vector<std::string> disk_images;
  std::vector<std::string> volume_images;
};

// The machine's drives come first, so that attached images take the next free numbers and letters.
void FindSystemDrives(AppState& app);

// Attaches every image, disks first. Returns why an image cannot be used (it cannot be opened for
// reading), or an empty text when all were attached; the images before the failing one stay.
std::string AttachImages(AppState& app, const ImageArguments& images);

}  // namespace pellora
