#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pellora {

// The storage bus a disk hangs on, numbered as the storage adapter descriptor numbers it.
enum class BusType : int {
  kUnknown = 0,
  kScsi = 1,
  kAtapi = 2,
  kAta = 3,
  kIeee1394 = 4,
  kSsa = 5,
  kFibre = 6,
  kUsb = 7,
  kRaid = 8,
  kIscsi = 9,
  kSas = 10,
  kSata = 11,
  kSd = 12,
  kMmc = 13,
  kVirtual = 14,
  kFileBackedVirtual = 15,
  kSpaces = 16,
  kNvme = 17,
  kScm = 18,
  kUfs = 19,
};

// "USB", "SD", "FILEBACKEDVIRTUAL" ...; numbers past the table read "UNKNOWN".
std::string_view BusTypeName(int bus_type);

// Media type of a drive's geometry.
inline constexpr int kRemovableMedia = 11;
inline constexpr int kFixedMedia = 12;

// "Removable Media", "External hard disk media" (fixed on USB), "Fixed hard disk media", or empty.
std::string MediaTypeText(int media_type, int bus_type);

}  // namespace pellora
