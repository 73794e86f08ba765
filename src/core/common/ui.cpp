#include "common/ui.hpp"

namespace pellora {

std::string CurrentSectorText(std::uint64_t sector) { return std::to_string(sector); }

std::string SectorTotalText(std::uint64_t total, SectorTotalForm form) {
  switch (form) {
    case SectorTotalForm::kReading:
      return " / " + std::to_string(total) + " reading";
    case SectorTotalForm::kRebuilding:
      return "/ " + std::to_string(total);
    case SectorTotalForm::kScannedOfTotal:
      break;
  }
  return "sectors scanned of total " + std::to_string(total);
}

std::string SearchRangeText(std::uint64_t first, std::uint64_t last) {
  return "Search Range : " + std::to_string(first) + " to " + std::to_string(last);
}

}  // namespace pellora
