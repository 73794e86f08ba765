#include "storage/drive_facts.hpp"

#include "common/text.hpp"
#include "storage/bus_type.hpp"

namespace pellora {

std::string DiskFacts::Model() const {
  const std::string_view vendor_text = Trim(vendor);
  const std::string_view product_text = Trim(product);
  if (vendor_text.empty()) return std::string(product_text);
  if (product_text.empty()) return std::string(vendor_text);
  return std::string(vendor_text) + " " + std::string(product_text);
}

DiskFacts ImageDiskFacts(int disk_number, std::string device_path, const std::filesystem::path& file,
                         std::uint64_t size_bytes) {
  DiskFacts facts;
  facts.disk_number = disk_number;
  facts.device_path = std::move(device_path);
  facts.system_name = file.string();
  facts.media_type = kRemovableMedia;
  facts.bus_type = static_cast<int>(BusType::kFileBackedVirtual);
  facts.tracks_per_cylinder = 255;
  facts.sectors_per_track = 63;
  facts.total_sectors = size_bytes / 512;
  facts.cylinders = facts.total_sectors / (255 * 63);
  facts.product = "Disk image " + file.filename().string();
  return facts;
}

std::string FileSystemDisplayName(std::string_view type, std::string_view version) {
  if (type.empty()) return "Unknown";
  if (type == "vfat" || type == "msdos") {
    if (version == "FAT12" || version == "FAT16" || version == "FAT32") return std::string(version);
    return "FAT";
  }
  if (type == "ntfs") return "NTFS";
  if (type == "exfat") return "exFAT";
  return ToUpperAscii(type);
}

}  // namespace pellora
