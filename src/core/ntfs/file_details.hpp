#pragma once

#include "model/ntfs_file_rows.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ntfs/file_record.hpp"
#include "ntfs/mft_fragments.hpp"

namespace pellora {

// What the file list shows of a file found by the scan, read from its FILE record when the list
// is first shown: its name (by the namespace order, control characters as spaces), its size and
// the creation time of that name, and whether the record is still in use. Names and $DATA kept in
// extension records are found there.
struct NtfsFileDetails {
  std::string name;
  std::uint64_t size = 0;
  std::uint64_t created = 0;
  bool deleted = false;
};

// Nothing when the record cannot be read or has no "FILE". Failures of the steps are reported as
// "Get advance name information..." (the name) and "Get data information..." (the size).
std::optional<NtfsFileDetails> ReadNtfsFileDetails(RecordReader& reader, const MftFragments& fragments,
                                                   std::uint64_t record_sector);

// The details of one row of the file rows.
struct NtfsRowDetails {
  std::size_t row = 0;
  NtfsFileDetails details;
};

// Reads the details of the files of one folder that the rows do not hold yet (the file list and
// saving both need the names). Only reads: whoever owns the rows keeps them with
// KeepFolderFileDetails, so a worker never writes rows that another thread shows.
std::vector<NtfsRowDetails> ReadFolderFileDetails(RecordReader& reader, const MftFragments& fragments,
                                                  const NtfsFileTable& files, std::uint32_t parent);
void KeepFolderFileDetails(NtfsFileTable& files, const std::vector<NtfsRowDetails>& details);

}  // namespace pellora
