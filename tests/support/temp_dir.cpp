#include "support/temp_dir.hpp"

#include <stdlib.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace pellora::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "pellora-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

void WriteFile(const std::filesystem::path& file, std::string_view content) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

void WriteBytes(const std::filesystem::path& file, const std::vector<std::byte>& content) {
  WriteFile(file, std::string_view(reinterpret_cast<const char*>(content.data()), content.size()));
}

std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::byte> PatternBytes(std::size_t size) {
  std::vector<std::byte> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::byte>((i * 7 + i / 512) & 0xFF);
  return bytes;
}

}  // namespace pellora::test

namespace pellora::test {

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
  if (const char* old = std::getenv(name)) {
    had_value_ = true;
    old_value_ = old;
  }
  if (value != nullptr) {
    ::setenv(name, value, 1);
  } else {
    ::unsetenv(name);
  }
  ::tzset();
}

ScopedEnv::~ScopedEnv() {
  if (had_value_) {
    ::setenv(name_.c_str(), old_value_.c_str(), 1);
  } else {
    ::unsetenv(name_.c_str());
  }
  ::tzset();
}

void ZeroSectors(const std::filesystem::path& image, std::uint64_t first, std::uint64_t count) {
  std::fstream file(image, std::ios::in | std::ios::out | std::ios::binary);
  const std::string zeros(count * 512, '\0');
  file.seekp(static_cast<std::streamoff>(first * 512));
  file.write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
}

void WipeFat32Layout(const std::filesystem::path& image, std::uint64_t partition_start) {
  std::ifstream in(image, std::ios::binary);
  unsigned char boot[512] = {};
  in.seekg(static_cast<std::streamoff>(partition_start * 512));
  in.read(reinterpret_cast<char*>(boot), sizeof boot);
  in.close();
  const std::uint64_t reserved = boot[14] | (boot[15] << 8);
  const std::uint64_t per_fat =
      boot[36] | (boot[37] << 8) | (boot[38] << 16) | (static_cast<std::uint64_t>(boot[39]) << 24);
  ZeroSectors(image, partition_start, reserved + 2 * per_fat);
}

}  // namespace pellora::test
