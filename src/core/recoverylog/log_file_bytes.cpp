#include "recoverylog/log_file_bytes.hpp"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "common/large_table_allocator.hpp"

namespace pellora {

namespace {

using Allocator = LargeTableAllocator<std::byte>;

}  // namespace

LogFileBytes::LogFileBytes(const std::filesystem::path& path, std::size_t read_whole_up_to) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error_ = errno;
    return;
  }
  struct stat facts {};
  if (::fstat(fd, &facts) != 0 || !S_ISREG(facts.st_mode)) {
    error_ = S_ISDIR(facts.st_mode) ? EISDIR : EINVAL;
  } else if (const auto size = static_cast<std::size_t>(facts.st_size); size > read_whole_up_to) {
    Map(fd, size);
  } else {
    Read(fd, size);
  }
  ::close(fd);
}

LogFileBytes::~LogFileBytes() {
  if (data_ == nullptr) return;
  if (mapped_)
    ::munmap(data_, capacity_);
  else
    Allocator().deallocate(data_, capacity_);
}

// Up to size bytes, what the file held when it was opened; a file cut shorter meanwhile is what is
// left of it.
void LogFileBytes::Read(int fd, std::size_t size) {
  if (size != 0) {
    try {
      data_ = Allocator().allocate(size);
    } catch (const std::bad_alloc&) {
      error_ = ENOMEM;
      return;
    }
    capacity_ = size;
  }
  while (size_ < capacity_) {
    const ssize_t got = ::read(fd, data_ + size_, capacity_ - size_);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error_ = errno;
      return;
    }
    if (got == 0) break;
    size_ += static_cast<std::size_t>(got);
  }
  opened_ = true;
}

void LogFileBytes::Map(int fd, std::size_t size) {
  void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  if (data == MAP_FAILED) {
    error_ = errno;
    return;
  }
  data_ = static_cast<std::byte*>(data);
  capacity_ = size;
  size_ = size;
  mapped_ = true;
  opened_ = true;
}

}  // namespace pellora
