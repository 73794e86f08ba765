#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "carving/carved_type_table.hpp"
#include "carving/file_type.hpp"
#include "common/output_file.hpp"
#include "common/progress.hpp"
#include "common/run_stop.hpp"

namespace pellora {

class ErrorReporter;
class SectorAccess;
class Source;
class Ui;

// The medium is read in chunks of 512 sectors.
inline constexpr std::uint32_t kChunkSectors = 512;
inline constexpr std::size_t kChunkBytes = 262144;
// A folder holds at most this many files of one type in a pass; the next go to TYPE_001, ...
inline constexpr std::uint64_t kFilesPerFolder = 50000;
// A read failure this close to the end sector skips the chunk without asking.
inline constexpr std::uint64_t kQuietFailureSectors = 262144;

inline constexpr std::string_view kCarvingFinishHint =
    "To view the recovered Data, please click on 'Open Containing Folder' button. Or Click on \u2018Back\u2019 Button "
    "to select another disk for recovery.";

// What a carving search needs from the rest of the program.
struct CarvingServices {
  Ui& ui;
  const SectorAccess& sectors;
  ErrorReporter& reporter;
  RunStop& stop;  // asked for by the person (Stop), by Cancel in the media-removed window, by a failed save
};

// The sectors a search scans: start up to, not including, end.
struct CarvingRange {
  std::string device_path;
  std::uint64_t start_sector = 0;
  std::uint64_t end_sector = 0;
};

// What sets the three carving modes apart, as data.
struct CarvingStyle {
  enum class Numbering {
    kPerPass,  // one number for all types, from 1 in each pass, after a pass prefix (Photo Search)
    kPerType   // each type counts on from its "LastfileNo", after its own name (Video, Signature Search)
  };
  Numbering numbering = Numbering::kPerPass;
  std::array<std::string, 2> name_prefix;  // per-pass numbering: "GNDR" and "THDR"
  std::array<std::string, 2> status_text;  // the status line of each pass
  std::string scan_label;                  // guard label of the scanning loop
  std::uint64_t files_per_folder = kFilesPerFolder;
};

// The carving engine: reads the range chunk by chunk, starts a file at every sector that carries a
// signature and copies sectors into it until the next signature, its type's maximum size or the
// end of the range. Shared by Photo, Video and Signature Search.
class CarvingEngine {
 public:
  CarvingEngine(CarvingServices services, CarvingRange range, CarvingStyle style, CarvedTypeTable& types,
                std::filesystem::path mode_folder);
  ~CarvingEngine();
  CarvingEngine(const CarvingEngine&) = delete;
  CarvingEngine& operator=(const CarvingEngine&) = delete;

  // One pass with these definitions into mode folder + "General" or "Omitted".
  void RunPass(CarvingPass pass, const DefinitionSet& definitions);

 private:
  struct Pending {
    const FileType1* definition = nullptr;
    std::size_t row = 0;
    std::string name;
    std::filesystem::path path;
    std::size_t start = 0;  // offset of its first byte in the chunk; 0 once it has run past a chunk
    std::uint64_t written = 0;
    OutputFile file;
  };
  enum class ChunkState { kScan, kSkip, kCancel, kEnd };
  struct Chunk {
    ChunkState state = ChunkState::kScan;
    std::size_t sectors = 0;
  };

  void Scan(const DefinitionSet& definitions);
  void OpenDevice();
  Chunk ReadChunk(std::uint64_t current, std::size_t sectors);
  void Salvage(std::uint64_t current, std::size_t from_byte, std::size_t bytes);
  bool StartFile(std::size_t offset, const FileType1& definition);
  void ContinuePending(std::size_t data_end);
  bool WritePending(std::size_t from, std::size_t to);
  void FinishPending();
  void SaveFailed();
  std::filesystem::path PassFolder() const;

  CarvingServices services_;
  CarvingRange range_;
  CarvingStyle style_;
  CarvedTypeTable& types_;
  std::filesystem::path mode_folder_;
  ProgressBar progress_;

  std::vector<std::byte> chunk_;
  std::unique_ptr<Source> device_;
  CarvingPass pass_ = CarvingPass::kGeneral;
  bool retry_until_done_ = false;
  std::uint64_t pass_file_number_ = 0;
  std::optional<Pending> pending_;
};

}  // namespace pellora
