#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

namespace pellora {

struct ReadOutcome {
  bool ok = false;        // false: the medium reported an error (bytes may still be partly filled)
  std::size_t bytes = 0;  // bytes placed at the front of the buffer
  int error = 0;          // errno of the failure
};

// An open medium: a block device, an image file, or a test double. Opened for reading only.
class Source {
 public:
  virtual ~Source() = default;
  // Reads up to out.size() bytes at offset; a short count means the end of the medium was reached.
  virtual ReadOutcome ReadAt(std::uint64_t offset, std::span<std::byte> out) = 0;
  virtual std::uint64_t SizeBytes() const = 0;
  // The read-only descriptor of an image that is a plain file, so that the kernel can copy from it
  // straight into another file; -1 for devices and media in memory.
  virtual int PlainFileDescriptor() const { return -1; }
};

// A block device or image file opened O_RDONLY; reads are pread loops that survive EINTR and short
// reads. No code path opens a source for writing.
class FileSource final : public Source {
 public:
  // nullptr on failure, with errno's value in *error.
  static std::unique_ptr<FileSource> Open(const std::filesystem::path& path, int* error);
  // A descriptor opened elsewhere (a system service that may open what this user may not); the
  // source owns it from here on, also on failure.
  static std::unique_ptr<FileSource> Adopt(int fd, int* error);
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  ReadOutcome ReadAt(std::uint64_t offset, std::span<std::byte> out) override;
  std::uint64_t SizeBytes() const override { return size_; }
  int PlainFileDescriptor() const override { return plain_file_ ? fd_ : -1; }

 private:
  FileSource(int fd, std::uint64_t size, bool plain_file) : fd_(fd), size_(size), plain_file_(plain_file) {}
  int fd_;
  std::uint64_t size_;
  bool plain_file_;
};

// Bytes held in memory (tests, fuzzing).
class MemorySource final : public Source {
 public:
  explicit MemorySource(std::shared_ptr<const std::vector<std::byte>> bytes) : bytes_(std::move(bytes)) {}
  ReadOutcome ReadAt(std::uint64_t offset, std::span<std::byte> out) override;
  std::uint64_t SizeBytes() const override { return bytes_->size(); }

 private:
  std::shared_ptr<const std::vector<std::byte>> bytes_;
};

}  // namespace pellora
