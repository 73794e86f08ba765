#include "common/error_log.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "common/text.hpp"

namespace pellora {

namespace {

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

bool AppendToErrorLog(const std::filesystem::path& log_path, std::string_view entry_utf8) noexcept {
  try {
    std::error_code ignored;
    if (log_path.has_parent_path()) std::filesystem::create_directories(log_path.parent_path(), ignored);
    const int fd = ::open(log_path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    struct stat info {};
    std::string bytes;
    if (::fstat(fd, &info) == 0 && info.st_size == 0) bytes = "\xFF\xFE";
    bytes += Utf8ToUtf16Le(entry_utf8);
    const bool written = WriteAll(fd, bytes);
    return ::close(fd) == 0 && written;
  } catch (...) {
    return false;
  }
}

}  // namespace pellora
