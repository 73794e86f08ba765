#pragma once

#include <cstddef>
#include <filesystem>
#include <span>

namespace pellora {

// The bytes of a log file, held for as long as it is read. Up to read_whole_up_to bytes the file is
// read whole into memory of its own (huge pages): on a virtual machine, walking 20 MB of mapped page
// cache 4 KiB page by page cost twice as long as copying it once. A larger file is mapped instead,
// so that no file, however large, is copied into memory that cannot be given back.
class LogFileBytes {
 public:
  static constexpr std::size_t kReadWholeUpTo = std::size_t{1} << 30;

  explicit LogFileBytes(const std::filesystem::path& path, std::size_t read_whole_up_to = kReadWholeUpTo);
  ~LogFileBytes();
  LogFileBytes(const LogFileBytes&) = delete;
  LogFileBytes& operator=(const LogFileBytes&) = delete;

  bool Opened() const { return opened_; }
  // errno of the failure when not opened.
  int Error() const { return error_; }
  std::span<const std::byte> Bytes() const { return {data_, size_}; }
  bool Mapped() const { return mapped_; }

 private:
  void Read(int fd, std::size_t size);
  void Map(int fd, std::size_t size);

  std::byte* data_ = nullptr;
  std::size_t capacity_ = 0;
  std::size_t size_ = 0;
  bool mapped_ = false;
  bool opened_ = false;
  int error_ = 0;
};

}  // namespace pellora
