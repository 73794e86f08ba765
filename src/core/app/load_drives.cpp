#include "app/load_drives.hpp"

#include "storage/drive_sources.hpp"

namespace pellora {

DriveListing& LoadDrives(AppState& app, SearchMode mode, bool system_drives, bool logical_drives) {
  app.drive_listing = DriveListing(std::string(SearchModeLabel(mode)));
  const DriveSources sources = CollectDriveSources(app.devices, system_drives ? &app.system_drives : nullptr);
  RefreshDrives(app.drive_listing, 0, logical_drives, sources, app.sectors, app.reporter);
  if (logical_drives) {
    app.drive_listing.tree.EnsureGroup(kLogicalDrives);
    RefreshDrives(app.drive_listing, 2, true, sources, app.sectors, app.reporter);
  }
  return app.drive_listing;
}

}  // namespace pellora
