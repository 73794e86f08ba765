#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

#include "common/output_file.hpp"
#include "save/save_run.hpp"

namespace pellora {

// A recovered file being written to the destination: its name settled (an existing file, a path
// too long), created, filled chunk by chunk while the saving window follows, and closed in
// whatever state it is in when it ends (a skipped, stopped or unreadable file stays partial).
class SavedFile {
 public:
  explicit SavedFile(SaveRun& run) : run_(run) {}

  // Settles the name and creates the file. False when it is not to be written: a skipped
  // conflict, an ignored long path, a failure, or a full destination (which stops the run).
  bool Create(const std::filesystem::path& path);
  // Writes the next bytes; false when the copy is to end (Skip, Stop, or a failed write).
  bool Write(std::span<const std::byte> bytes);
  // Closes the file; complete tells whether every byte of it was written.
  void Close(bool complete);

  const std::filesystem::path& Path() const { return path_; }
  std::uint64_t Written() const { return written_; }

 private:
  int Open(const std::filesystem::path& path);

  SaveRun& run_;
  OutputFile file_;
  std::filesystem::path path_;
  std::uint64_t written_ = 0;
};

}  // namespace pellora
