#include "storage/sector_access.hpp"

#include <cerrno>
#include <stdexcept>

#include "common/product.hpp"
#include "common/ui.hpp"

namespace pellora {

namespace {

// Byte offsets are sector << 9; beyond this the offset no longer fits a file position.
constexpr std::uint64_t kMaxSector = static_cast<std::uint64_t>(INT64_MAX) >> 9;

}  // namespace

void SectorAccess::SetLegacyLibrary(std::unique_ptr<LegacyDiskLibrary> library) {
  const std::lock_guard lock(legacy_mutex_);
  legacy_ = std::move(library);
  legacy_ready_ = false;
}

SectorRead SectorAccess::ReadSectors(std::uint32_t count, std::string path, std::uint64_t sector,
                                     std::span<std::byte> buffer) {
  if (buffer.size() < static_cast<std::uint64_t>(count) * kSectorSize)
    throw std::invalid_argument("ReadSectors: the buffer is smaller than the sectors asked for");
  if (platform_mode_ == kPlatformNt) return ReadNt(count, path, sector, buffer);
  if (platform_mode_ == kPlatformLegacy) return ReadLegacy(count, path, sector, buffer);
  return {.status = SectorRead::Status::kRefused};
}

void SectorAccess::EndRun() {
  std::shared_ptr<Source> closing;  // closed outside the lock
  const std::lock_guard lock(kept_mutex_);
  closing = std::move(kept_);
  kept_path_.clear();
}

std::shared_ptr<Source> SectorAccess::KeptSource(const std::string& path, int* error) {
  const std::lock_guard lock(kept_mutex_);
  if (kept_ && kept_path_ == path) return kept_;
  std::shared_ptr<Source> opened = devices_.Open(path, error);
  if (!opened) return nullptr;
  kept_ = opened;
  kept_path_ = path;
  return opened;
}

void SectorAccess::Forget(const std::shared_ptr<Source>& source) {
  const std::lock_guard lock(kept_mutex_);
  if (kept_ == source) {
    kept_.reset();
    kept_path_.clear();
  }
}

SectorRead SectorAccess::ReadNt(std::uint32_t count, const std::string& path, std::uint64_t sector,
                                std::span<std::byte> buffer) {
  int error = 0;
  const std::shared_ptr<Source> device = KeptSource(path, &error);
  if (!device) return {.status = SectorRead::Status::kUnopened, .error = error};
  // A start that cannot be a file position fails like a failed positioning, not by wrapping round.
  if (sector > kMaxSector) return {.status = SectorRead::Status::kFailed, .error = EINVAL};
  const std::uint64_t position = sector << 9;
  if (guard_.Refuses(position)) return {.status = SectorRead::Status::kRefused};
  const std::size_t wanted = static_cast<std::size_t>(count) * kSectorSize;
  if (wanted == 0) return {.status = SectorRead::Status::kRead};
  const ReadOutcome outcome = device->ReadAt(position, buffer.first(wanted));
  if (!outcome.ok) Forget(device);
  // A disk answers a read that starts past its end with an error, not with zero bytes.
  if (outcome.ok && outcome.bytes > 0) return {.status = SectorRead::Status::kRead};
  return {.status = SectorRead::Status::kFailed, .error = outcome.error};
}

SectorRead SectorAccess::ReadLegacy(std::uint32_t count, const std::string& path, std::uint64_t sector,
                                    std::span<std::byte> buffer) {
  LegacyDiskLibrary* library = nullptr;
  {
    const std::lock_guard lock(legacy_mutex_);
    if (!legacy_ready_) {
      if (!legacy_ || !legacy_->Load()) {
        ui_.ShowMessage("disk32.dll not found.", kProductName);
        return {.status = SectorRead::Status::kUnopened};
      }
      if (!legacy_->FindReadEntry()) {
        ui_.ShowMessage("Readdisk32 function not found.", kProductName);
        return {.status = SectorRead::Status::kUnopened};
      }
      legacy_ready_ = true;
    }
    library = legacy_.get();
  }
  if (path.size() < 17) throw std::invalid_argument("ReadSectors: a legacy read needs a physical drive path");
  // The digit of "\\.\PhysicalDrive0".."3" picks BIOS drives 0x80..0x83.
  const char digit = path.size() > 17 ? path[17] : '\0';
  if (digit < '0' || digit > '3') return {.status = SectorRead::Status::kUnopened};
  const auto bios_drive = static_cast<std::uint32_t>(0x80 + (digit - '0'));
  const int result =
      library->ReadDisk32(bios_drive, 0, 0, 1, count, buffer.data(), static_cast<std::uint32_t>(sector), 1);
  return {.status = result != 0 ? SectorRead::Status::kRead : SectorRead::Status::kFailed, .legacy_result = result};
}

}  // namespace pellora
