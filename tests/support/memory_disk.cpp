#include "support/memory_disk.hpp"

namespace pellora::test {

TestDisk::TestDisk(std::vector<std::byte> bytes) {
  auto shared = std::make_shared<const std::vector<std::byte>>(std::move(bytes));
  path_ = "\\\\.\\PhysicalDrive0";
  devices_.AddSource(path_, DeviceKind::kDisk,
                     [shared](int*) -> std::unique_ptr<Source> { return std::make_unique<MemorySource>(shared); });
}

TestDisk::TestDisk(const std::filesystem::path& image) { path_ = devices_.AttachDiskImage(image); }

void PutLe(std::vector<std::byte>& bytes, std::size_t offset, std::uint64_t value, int width) {
  for (int i = 0; i < width; ++i)
    bytes.at(offset + static_cast<std::size_t>(i)) = static_cast<std::byte>(value >> (8 * i));
}

void PutText(std::vector<std::byte>& bytes, std::size_t offset, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) bytes.at(offset + i) = static_cast<std::byte>(text[i]);
}

}  // namespace pellora::test
