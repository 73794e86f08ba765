#include "state/current_volume.hpp"

namespace pellora {

FatVolume FatVolumeOf(SectorAccess& sectors, const std::string& device_path, const PartitionParams& params,
                      const FileSystemParams& working, std::stop_token cancel) {
  FatVolume volume;
  volume.sectors = &sectors;
  volume.device_path = device_path;
  volume.params = working;
  volume.read_limit_bytes = params.ReadLimitBytes;
  volume.cancel = std::move(cancel);
  return volume;
}

FatVolume FatVolumeOf(SectorAccess& sectors, const SearchTables& tables, std::stop_token cancel) {
  return FatVolumeOf(sectors, tables.device_path, tables.partition_params, tables.working_params, std::move(cancel));
}

FatVolume CurrentFatVolume(AppState& app, std::stop_token cancel) {
  return FatVolumeOf(app.sectors, app.current_device_path, app.partition_params, app.working_params, std::move(cancel));
}

NtfsVolume NtfsVolumeOf(SectorAccess& sectors, ErrorReporter* reporter, const std::string& device_path,
                        const PartitionParams& params, const FileSystemParams& working, std::stop_token cancel) {
  NtfsVolume volume;
  volume.sectors = &sectors;
  volume.device_path = device_path;
  volume.params = working;
  volume.end_sector = params.EndSector;
  volume.read_limit_bytes = params.ReadLimitBytes;
  volume.cancel = std::move(cancel);
  volume.reporter = reporter;
  return volume;
}

NtfsVolume NtfsVolumeOf(SectorAccess& sectors, ErrorReporter* reporter, const SearchTables& tables,
                        std::stop_token cancel) {
  return NtfsVolumeOf(sectors, reporter, tables.device_path, tables.partition_params, tables.working_params,
                      std::move(cancel));
}

NtfsVolume CurrentNtfsVolume(AppState& app, std::stop_token cancel) {
  return NtfsVolumeOf(app.sectors, &app.reporter, app.current_device_path, app.partition_params, app.working_params,
                      std::move(cancel));
}

}  // namespace pellora
