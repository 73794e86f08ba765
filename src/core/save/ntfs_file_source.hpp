#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "fat/file_content.hpp"

namespace pellora {

struct AppState;

// One row of the NTFS file rows as saving reads it.
struct NtfsFolderFile {
  std::string name;                 // column 1
  std::string size_text;            // column 2, as stored
  bool flagged = false;             // column 4 holds "1"
  bool first_row = false;           // the first row of the whole table
  std::uint64_t record_sector = 0;  // absolute sector of the file's FILE record
};

// What the unnamed $DATA attribute of a FILE record gives.
struct NtfsSavedContent {
  enum class Kind {
    kNone,         // no $DATA, runs that cannot be decoded, or an unreadable record
    kResident,     // the value bytes are in the record
    kNonResident,  // the content lies in data runs
  };
  Kind kind = Kind::kNone;
  std::vector<std::byte> value;  // kResident
  std::vector<ClusterRun> runs;  // kNonResident
  std::uint64_t size = 0;        // kNonResident: the bytes of the file
  // kNonResident content the runs above cannot express (sparse holes, pieces in extension
  // records): when set, it copies the file and the runs are not used.
  std::function<CopyEnd(const ContentSink& sink)> copy;
};

// What saving needs of the NTFS engine: the rows of a folder (found by its MFT record number), and
// the content of the file whose FILE record lies at a sector. Unset functions know no files.
struct NtfsFileSource {
  std::function<std::vector<NtfsFolderFile>(std::uint64_t self)> folder_files;
  std::function<NtfsSavedContent(std::uint64_t record_sector)> file_data;
};

// The NTFS engine of the current results, as saving reads it.
NtfsFileSource NtfsFileSourceFor(AppState& app, std::stop_token cancel = {});

}  // namespace pellora
