#include "app/current_volume.hpp"

namespace pellora {

FatVolume CurrentFatVolume(AppState& app, const std::atomic<bool>* cancel) {
  FatVolume volume;
  volume.sectors = &app.sectors;
  volume.device_path = app.current_device_path;
  volume.params = app.working_params;
  volume.read_limit_bytes = app.partition_params.ReadLimitBytes;
  volume.cancel = cancel;
  return volume;
}

NtfsVolume CurrentNtfsVolume(AppState& app, const std::atomic<bool>* cancel) {
  NtfsVolume volume;
  volume.sectors = &app.sectors;
  volume.device_path = app.current_device_path;
  volume.params = app.working_params;
  volume.end_sector = app.partition_params.EndSector;
  volume.read_limit_bytes = app.partition_params.ReadLimitBytes;
  volume.cancel = cancel;
  volume.reporter = &app.reporter;
  return volume;
}

}  // namespace pellora
