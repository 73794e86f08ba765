#include "common/output_file.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace pellora {

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.fd_;
    error_ = other.error_;
    other.fd_ = -1;
  }
  return *this;
}

int OutputFile::Create(const std::filesystem::path& path) {
  Close();
  // Replace, not merge: a file left by an earlier run goes first (a link in its place goes, not
  // what it points to). Whether the path is usable is for the open to say.
  (void)::unlink(path.c_str());
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  error_ = fd_ >= 0 ? 0 : errno;
  return error_;
}

bool OutputFile::Write(std::span<const std::byte> bytes) {
  if (fd_ < 0) {
    error_ = EBADF;
    return false;
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error_ = errno;
      return false;
    }
    if (n == 0) {
      error_ = ENOSPC;  // a write that takes nothing and reports nothing: the device is full
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::uint64_t OutputFile::CopyFrom(int source_fd, std::uint64_t offset, std::uint64_t length) {
  std::uint64_t done = 0;
  error_ = 0;
  while (done < length) {
    auto from = static_cast<off_t>(offset + done);
    const ssize_t n = ::copy_file_range(source_fd, &from, fd_, nullptr, length - done, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      error_ = errno;
      break;
    }
    if (n == 0) break;  // the source ended
    done += static_cast<std::uint64_t>(n);
  }
  return done;
}

void OutputFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool IsOutOfSpace(int error) { return error == ENOSPC || error == EDQUOT; }

bool CopyUnsupported(int error) {
  return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == EBADF;
}

}  // namespace pellora
