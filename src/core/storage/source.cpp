#include "storage/source.hpp"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace pellora {

std::unique_ptr<FileSource> FileSource::Open(const std::filesystem::path& path, int* error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (error != nullptr) *error = errno;
    return nullptr;
  }
  return Adopt(fd, error);
}

std::unique_ptr<FileSource> FileSource::Adopt(int fd, int* error) {
  if (fd < 0) {
    if (error != nullptr) *error = EBADF;
    return nullptr;
  }
  struct stat info {};
  std::uint64_t size = 0;
  if (::fstat(fd, &info) == 0) {
    if (S_ISBLK(info.st_mode)) {
      if (::ioctl(fd, BLKGETSIZE64, &size) != 0) size = 0;
    } else if (S_ISREG(info.st_mode)) {
      size = static_cast<std::uint64_t>(info.st_size);
    } else {
      ::close(fd);
      if (error != nullptr) *error = EINVAL;  // a folder or a pipe is not a medium
      return nullptr;
    }
  }
  return std::unique_ptr<FileSource>(new FileSource(fd, size, S_ISREG(info.st_mode)));
}

FileSource::~FileSource() { ::close(fd_); }

ReadOutcome FileSource::ReadAt(std::uint64_t offset, std::span<std::byte> out) {
  ReadOutcome outcome{.ok = true};
  constexpr auto kMaxOffset = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());
  if (offset > kMaxOffset) return {.ok = false, .bytes = 0, .error = EINVAL};
  while (outcome.bytes < out.size()) {
    const std::uint64_t at = offset + outcome.bytes;
    if (at > kMaxOffset) break;
    const ssize_t n = ::pread(fd_, out.data() + outcome.bytes, out.size() - outcome.bytes, static_cast<off_t>(at));
    if (n < 0) {
      if (errno == EINTR) continue;
      return {.ok = false, .bytes = outcome.bytes, .error = errno};
    }
    if (n == 0) break;  // end of the medium
    outcome.bytes += static_cast<std::size_t>(n);
  }
  return outcome;
}

ReadOutcome MemorySource::ReadAt(std::uint64_t offset, std::span<std::byte> out) {
  if (offset >= bytes_->size()) return {.ok = true, .bytes = 0, .error = 0};
  const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), bytes_->size() - offset));
  std::memcpy(out.data(), bytes_->data() + offset, count);
  return {.ok = true, .bytes = count, .error = 0};
}

}  // namespace pellora
