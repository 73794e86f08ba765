#include "storage/bus_type.hpp"

#include <array>

namespace pellora {

namespace {

constexpr std::array<std::string_view, 23> kBusTypeNames = {
    "UNKNOWN", "SCSI",  "ATAPI", "ATA",  "IEEE 1394", "SSA",      "FIBRE",   "USB",
    "RAID",    "iSCSI", "SAS",   "SATA", "SD",        "MMC",      "VIRTUAL", "FILEBACKEDVIRTUAL",
    "SPACES",  "NVME",  "SCM",   "UFS",  "MAX",       "Reserved", ""};

}  // namespace

std::string_view BusTypeName(int bus_type) {
  if (bus_type < 0 || static_cast<std::size_t>(bus_type) >= kBusTypeNames.size()) return kBusTypeNames[0];
  return kBusTypeNames[static_cast<std::size_t>(bus_type)];
}

std::string MediaTypeText(int media_type, int bus_type) {
  if (media_type == kRemovableMedia) return "Removable Media";
  if (media_type == kFixedMedia)
    return bus_type == static_cast<int>(BusType::kUsb) ? "External hard disk media" : "Fixed hard disk media";
  return "";
}

}  // namespace pellora
