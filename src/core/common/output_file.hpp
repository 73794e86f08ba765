#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string_view>

namespace pellora {

// What saving and carving show when the destination cannot take more data (it is full or gone).
inline constexpr std::string_view kSaveFailureText =
    "Unable to continue saving recovered data.\n\nEither Destination Drive is inaccessible or there is no free space "
    "available in drive to save recovered data.";

// A recovered or carved file being written. An existing file of the same path is deleted first,
// then the file is created empty (the C runtime's "wb+").
class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile() { Close(); }
  OutputFile(OutputFile&& other) noexcept : fd_(other.fd_), error_(other.error_) { other.fd_ = -1; }
  OutputFile& operator=(OutputFile&& other) noexcept;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // 0 when created, else errno of the failure.
  int Create(const std::filesystem::path& path);
  bool IsOpen() const { return fd_ >= 0; }
  // Writes every byte (short writes and EINTR are continued); false on failure, with errno's value
  // in Error().
  bool Write(std::span<const std::byte> bytes);
  // Copies length bytes from offset of the file source_fd into this one by the kernel, without a
  // buffer in between; returns the bytes copied. Fewer than asked: the source ended, or the copy
  // failed with errno's value in Error() (see CopyUnsupported).
  std::uint64_t CopyFrom(int source_fd, std::uint64_t offset, std::uint64_t length);
  int Error() const { return error_; }
  void Close();

 private:
  int fd_ = -1;
  int error_ = 0;
};

// True for the errors that say the destination has no room left.
bool IsOutOfSpace(int error);
// True for the errors of CopyFrom that say the kernel cannot copy between these two files.
bool CopyUnsupported(int error);

}  // namespace pellora
