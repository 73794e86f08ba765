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
  int Error() const { return error_; }
  void Close();

 private:
  int fd_ = -1;
  int error_ = 0;
};

// True for the errors that say the destination has no room left.
bool IsOutOfSpace(int error);

}  // namespace pellora
