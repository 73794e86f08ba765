#include "carving/carving_engine.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "carving/output_naming.hpp"
#include "carving/signature_index.hpp"
#include "common/guard.hpp"
#include "common/path_component.hpp"
#include "common/ui.hpp"
#include "storage/sector_access.hpp"
#include "storage/source.hpp"

namespace pellora {

namespace {

// An open refused with EACCES moves on to the next number; a folder that refuses every name must
// not keep the search turning for ever.
constexpr int kAccessDeniedAttempts = 1000;

const char* PassFolderName(CarvingPass pass) { return pass == CarvingPass::kGeneral ? "General" : "Omitted"; }

std::size_t PassIndex(CarvingPass pass) { return static_cast<std::size_t>(pass); }

// The extension of a carved file: the definition's, without its dot.
std::string_view FileExtension(const FileType1& definition) {
  std::string_view extension = definition.extension;
  if (extension.starts_with('.')) extension.remove_prefix(1);
  return extension;
}

}  // namespace

CarvingEngine::CarvingEngine(CarvingServices services, CarvingRange range, CarvingStyle style, CarvedTypeTable& types,
                             std::filesystem::path mode_folder)
    : services_(services),
      range_(std::move(range)),
      style_(std::move(style)),
      types_(types),
      mode_folder_(std::move(mode_folder)),
      progress_(&services.ui),
      chunk_(kChunkBytes) {}

CarvingEngine::~CarvingEngine() = default;

std::filesystem::path CarvingEngine::PassFolder() const { return mode_folder_ / PassFolderName(pass_); }

void CarvingEngine::RunPass(CarvingPass pass, const DefinitionSet& definitions) {
  pass_ = pass;
  types_.ResetFolders();
  pending_.reset();
  pass_file_number_ = 0;
  retry_until_done_ = false;
  std::error_code ignored;
  std::filesystem::create_directories(PassFolder(), ignored);

  Ui& ui = services_.ui;
  ui.ShowCurrentSector(range_.start_sector);
  ui.ShowSectorTotal(range_.end_sector, SectorTotalForm::kScannedOfTotal);
  ui.ShowText(UiText::kStatus, style_.status_text[PassIndex(pass)]);
  progress_.SetRange(range_.start_sector, range_.end_sector, kChunkSectors);

  services_.reporter.Guarded(style_.scan_label, "R", "2A", [&] { Scan(definitions); });
  // A failure inside the loop leaves the file it was writing closed with what it had.
  pending_.reset();
  device_.reset();
}

void CarvingEngine::OpenDevice() { device_ = services_.sectors.OpenDevice(range_.device_path); }

void CarvingEngine::Scan(const DefinitionSet& definitions) {
  const SignatureIndex index(definitions);
  OpenDevice();
  if (!device_) {
    const MediaRemovedAnswer answer = services_.ui.AskMediaRemoved();
    if (!answer.retry) {
      services_.stop.Request();
      return;
    }
    retry_until_done_ = answer.apply_until_done;
    // Still missing: every chunk then takes the read-failure road.
    OpenDevice();
  }

  const std::uint64_t start = range_.start_sector;
  const std::uint64_t end = range_.end_sector;
  for (std::uint64_t current = start;;) {
    if (current >= end) {
      FinishPending();
      progress_.SetToEnd();
      return;
    }
    if (services_.stop.Requested()) {
      FinishPending();
      return;
    }
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(kChunkSectors, end - current));
    const Chunk chunk = ReadChunk(current, wanted);
    if (chunk.state == ChunkState::kCancel) {
      services_.stop.Request();
      FinishPending();
      return;
    }
    if (chunk.state == ChunkState::kEnd) {
      // Past the end of the medium nothing more can be read, found or written: the pass is over
      // exactly as if the range ended here.
      FinishPending();
      progress_.SetToEnd();
      return;
    }
    if (chunk.state == ChunkState::kScan) {
      services_.ui.ShowCurrentSector(current);
      const auto* bytes = reinterpret_cast<const std::uint8_t*>(chunk_.data());
      for (std::size_t s = 0; s < chunk.sectors; ++s) {
        if (services_.stop.Requested()) {
          FinishPending();
          services_.ui.ShowText(UiText::kHint, kCarvingFinishHint);
          return;
        }
        const std::size_t offset = s * kSectorSize;
        if (const auto hit = index.Match(bytes + offset)) {
          if (!StartFile(offset, definitions.records[*hit])) return;
        }
      }
      if (pending_) ContinuePending(chunk.sectors * kSectorSize);
      progress_.Advance(start, end, current, kChunkSectors);
    }
    current += wanted;
  }
}

CarvingEngine::Chunk CarvingEngine::ReadChunk(std::uint64_t current, std::size_t sectors) {
  const std::size_t bytes = sectors * kSectorSize;
  const std::span<std::byte> buffer(chunk_.data(), bytes);
  // A sector whose byte offset no longer fits a file position cannot be read.
  const bool addressable = current <= (static_cast<std::uint64_t>(INT64_MAX) >> 9);
  ReadOutcome outcome;
  if (device_ && addressable) outcome = device_->ReadAt(current * kSectorSize, buffer);
  if (outcome.ok) {
    const std::size_t read = outcome.bytes / kSectorSize;
    return {read == 0 ? ChunkState::kEnd : ChunkState::kScan, read};
  }

  if (range_.end_sector - current < kQuietFailureSectors) return {ChunkState::kSkip, 0};
  std::memset(buffer.data(), 0, bytes);
  if (!retry_until_done_) {
    const MediaRemovedAnswer answer = services_.ui.AskMediaRemoved();
    if (!answer.retry) return {ChunkState::kCancel, 0};
    retry_until_done_ = answer.apply_until_done;
  }
  OpenDevice();
  if (device_ && addressable) {
    outcome = device_->ReadAt(current * kSectorSize, buffer);
    const std::size_t good = std::min(outcome.bytes, bytes);
    std::memset(buffer.data() + good, 0, bytes - good);
    if (!outcome.ok) Salvage(current, good - good % kSectorSize, bytes);
  }
  // The whole chunk is scanned, zeros where the medium gave nothing.
  return {ChunkState::kScan, sectors};
}

void CarvingEngine::Salvage(std::uint64_t current, std::size_t from_byte, std::size_t bytes) {
  // One unreadable sector should not cost the rest of the chunk: read on sector by sector after
  // the one that failed, leaving zeros only where a sector itself cannot be read.
  for (std::size_t at = from_byte; at < bytes; at += kSectorSize) {
    const std::span<std::byte> sector(chunk_.data() + at, kSectorSize);
    const ReadOutcome outcome = device_->ReadAt(current * kSectorSize + at, sector);
    if (!outcome.ok) std::memset(sector.data(), 0, sector.size());
  }
}

bool CarvingEngine::StartFile(std::size_t offset, const FileType1& definition) {
  if (pending_) {
    const std::size_t from = pending_->start;
    if (!WritePending(from, offset)) return false;
    FinishPending();
  }

  const std::string type_name = definition.TypeName();
  const std::size_t row_index = types_.RowFor(type_name);
  {
    CarvedTypeRow& row = types_.Row(row_index);
    const std::uint64_t n = row.folder_count + 1;
    if (n > style_.files_per_folder) {
      row.folder_count = 1;
      row.folder_name = NextFolderName(type_name, row.folder_name);
    } else {
      row.folder_count = n;
    }
  }
  const CarvedTypeRow& row = types_.Row(row_index);
  const std::filesystem::path folder = PassFolder() / SafePathComponent(row.folder_name);
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  const std::string suffix = FolderSuffix(row.folder_name);

  const bool per_type = style_.numbering == CarvingStyle::Numbering::kPerType;
  const std::string prefix = per_type ? type_name : style_.name_prefix[PassIndex(pass_)];
  const std::string extension = per_type ? type_name : std::string(FileExtension(definition));
  std::uint64_t number = (per_type ? row.last_file_number : pass_file_number_) + 1;

  Pending pending;
  int error = 0;
  for (int attempt = 0;; ++attempt) {
    pending.name = SafePathComponent(CarvedFileName(prefix, number, suffix, extension));
    pending.path = folder / pending.name;
    error = pending.file.Create(pending.path);
    if (error != EACCES || attempt + 1 >= kAccessDeniedAttempts) break;
    ++number;
  }
  if (error != 0) {
    SaveFailed();
    return false;
  }
  (per_type ? types_.Row(row_index).last_file_number : pass_file_number_) = number;
  pending.definition = &definition;
  pending.row = row_index;
  pending.start = offset;
  pending_ = std::move(pending);
  return true;
}

void CarvingEngine::ContinuePending(std::size_t data_end) {
  Pending& pending = *pending_;
  const auto maximum = static_cast<std::uint64_t>(std::max<std::int64_t>(0, pending.definition->MaxSizeBytes()));
  const std::size_t share = static_cast<std::size_t>(std::min<std::uint64_t>(data_end - pending.start, maximum));
  pending.written += share;
  // The file ends at the last whole share that kept it within its type's maximum size.
  if (pending.written > maximum) {
    FinishPending();
    return;
  }
  if (!WritePending(pending.start, pending.start + share)) return;
  pending.start = 0;
}

bool CarvingEngine::WritePending(std::size_t from, std::size_t to) {
  if (to <= from) return true;
  if (pending_->file.Write(std::span<const std::byte>(chunk_.data() + from, to - from))) return true;
  // A destination that fills up or goes away ends the search; what was written stays.
  FinishPending();
  SaveFailed();
  return false;
}

void CarvingEngine::FinishPending() {
  if (!pending_) return;
  Pending pending = std::move(*pending_);
  pending_.reset();
  pending.file.Close();
  CarvedTypeRow& row = types_.Row(pending.row);
  ++row.files_found;
  ++row.files_per_pass[PassIndex(pass_)];
  row.last_file_name = pending.name;
  row.last_file_path = pending.path.string();
  if (style_.numbering == CarvingStyle::Numbering::kPerType)
    services_.ui.AddRecoveredFile(row.type_name, pending.name, row.last_file_path);
  else
    services_.ui.AddThumbnail(row.type_name, row.last_file_path, pending.name);
}

void CarvingEngine::SaveFailed() {
  services_.ui.ShowMessage(kSaveFailureText, kMessageCaption);
  services_.stop.Request();
  services_.ui.ShowText(UiText::kHint, kCarvingFinishHint);
}

}  // namespace pellora
