#pragma once

#include <cstddef>
#include <filesystem>
#include <span>

namespace pellora {

// A carved file being written. An existing file of the same path is deleted first, then the file
// is created empty for reading and writing (the C runtime's "wb+").
class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile() { Close(); }
  OutputFile(OutputFile&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  OutputFile& operator=(OutputFile&& other) noexcept;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // 0 when created, else errno of the failure.
  int Create(const std::filesystem::path& path);
  bool IsOpen() const { return fd_ >= 0; }
  // Writes every byte (short writes and EINTR are continued); false on failure.
  bool Write(std::span<const std::byte> bytes);
  void Close();

 private:
  int fd_ = -1;
};

}  // namespace pellora
