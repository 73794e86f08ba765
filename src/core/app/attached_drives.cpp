#include "app/attached_drives.hpp"

#include <cstring>

#include "storage/source.hpp"

namespace pellora {

void FindSystemDrives(AppState& app) {
  app.system_drives.Probe();
  app.system_drives.Register(app.devices);
}

std::string AttachImages(AppState& app, const ImageArguments& images) {
  const auto unreadable = [](const std::string& image) -> std::string {
    int error = 0;
    if (FileSource::Open(image, &error)) return {};
    return "The image \"" + image + "\" cannot be opened: " + std::strerror(error);
  };
  for (const std::string& image : images.disk_images) {
    if (std::string why = unreadable(image); !why.empty()) return why;
    app.devices.AttachDiskImage(image);
  }
  for (const std::string& image : images.volume_images) {
    if (std::string why = unreadable(image); !why.empty()) return why;
    app.devices.AttachVolumeImage(image);
  }
  return {};
}

}  // namespace pellora
