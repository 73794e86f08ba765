#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

#include "common/output_file.hpp"
#include "fat/file_content.hpp"
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
  // The next bytes straight from an image file into this one, when the kernel can copy between
  // them; what it does not take comes through Write.
  DirectCopy CopyFrom(Source& device, std::uint64_t offset, std::uint64_t length);
  // The two as the content copiers take them.
  ContentSink Sink() {
    return [this](std::span<const std::byte> bytes) { return Write(bytes); };
  }
  DirectSink Direct() {
    return
        [this](Source& device, std::uint64_t offset, std::uint64_t length) { return CopyFrom(device, offset, length); };
  }
  // Closes the file; complete tells whether every byte of its size was written. Only a complete
  // file counts as saved; another is named among the unsaved ones.
  void Close(bool complete, std::uint64_t size);

  const std::filesystem::path& Path() const { return path_; }
  std::uint64_t Written() const { return written_; }

 private:
  int Open(const std::filesystem::path& path);

  SaveRun& run_;
  OutputFile file_;
  std::filesystem::path path_;
  std::uint64_t written_ = 0;
  bool direct_ = true;  // false once the kernel said it cannot copy into this file
};

}  // namespace pellora
