#include "support/ntfs_record.hpp"

#include <algorithm>

#include "ntfs/attribute_walk.hpp"
#include "ntfs/record_sector.hpp"

namespace pellora::test {

namespace {

std::size_t Align8(std::size_t n) { return (n + 7) & ~std::size_t{7}; }

}  // namespace

RecordBuilder::RecordBuilder(std::uint8_t flags) : bytes_(kFileRecordBytes) {
  PutText(bytes_, 0, "FILE");
  PutLe(bytes_, 4, 0x30, 2);  // update sequence array
  PutLe(bytes_, 6, 3, 2);     // number + one entry per sector
  PutLe(bytes_, 0x14, 0x38, 2);
  PutLe(bytes_, 0x16, flags, 2);
  PutLe(bytes_, 0x38, 0xFFFFFFFF, 4);
}

std::size_t RecordBuilder::Append(std::uint32_t type, std::size_t length) {
  const std::size_t at = next_;
  length = Align8(length);
  PutLe(bytes_, at, type, 4);
  PutLe(bytes_, at + 4, length, 4);
  next_ = at + length;
  PutLe(bytes_, next_, 0xFFFFFFFF, 4);
  return at;
}

std::size_t RecordBuilder::AppendResident(std::uint32_t type, std::u16string_view attribute_name,
                                          std::size_t value_length) {
  const std::size_t value_at = 0x18 + Align8(attribute_name.size() * 2);
  const std::size_t at = Append(type, value_at + value_length);
  PutLe(bytes_, at + 9, attribute_name.size(), 1);
  PutLe(bytes_, at + 10, 0x18, 2);
  for (std::size_t i = 0; i < attribute_name.size(); ++i) PutLe(bytes_, at + 0x18 + 2 * i, attribute_name[i], 2);
  PutLe(bytes_, at + 0x10, value_length, 4);
  PutLe(bytes_, at + 0x14, value_at, 2);
  return at + value_at;
}

RecordBuilder& RecordBuilder::FileName(std::u16string_view name, std::uint8_t name_space, std::uint32_t parent,
                                       std::uint64_t created, std::u16string_view attribute_name) {
  const std::size_t value = AppendResident(kFileNameAttribute, attribute_name, 0x42 + name.size() * 2);
  PutLe(bytes_, value, parent | (std::uint64_t{1} << 48), 8);
  PutLe(bytes_, value + 8, created, 8);
  PutLe(bytes_, value + 0x40, name.size(), 1);
  PutLe(bytes_, value + 0x41, name_space, 1);
  for (std::size_t i = 0; i < name.size(); ++i) PutLe(bytes_, value + 0x42 + 2 * i, name[i], 2);
  return *this;
}

RecordBuilder& RecordBuilder::StandardInformation() {
  AppendResident(0x10, u"", 0x48);
  return *this;
}

RecordBuilder& RecordBuilder::ResidentData(std::size_t length, std::u16string_view attribute_name) {
  const std::size_t value = AppendResident(kDataAttribute, attribute_name, length);
  for (std::size_t i = 0; i < length; ++i) PutLe(bytes_, value + i, 'a' + i % 26, 1);
  return *this;
}

RecordBuilder& RecordBuilder::NonResidentData(std::uint64_t real_size, const std::vector<std::byte>& run_list,
                                              std::uint64_t lowest_vcn) {
  const std::size_t at = Append(kDataAttribute, 0x40 + run_list.size() + 1);
  PutLe(bytes_, at + 8, 1, 1);
  PutLe(bytes_, at + 0x10, lowest_vcn, 8);
  PutLe(bytes_, at + 0x20, 0x40, 2);
  PutLe(bytes_, at + 0x30, real_size, 8);
  PutLe(bytes_, at + 0x38, real_size, 8);
  std::copy(run_list.begin(), run_list.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(at + 0x40));
  return *this;
}

RecordBuilder& RecordBuilder::AttributeList(const std::vector<std::uint64_t>& records) {
  const std::size_t value = AppendResident(kAttributeList, u"", records.size() * 0x20);
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::size_t entry = value + i * 0x20;
    PutLe(bytes_, entry, kDataAttribute, 4);
    PutLe(bytes_, entry + 4, 0x20, 2);
    PutLe(bytes_, entry + 0x10, records[i] | (std::uint64_t{3} << 48), 8);
  }
  return *this;
}

RecordBuilder& RecordBuilder::Raw(std::uint32_t type, std::uint32_t length, const std::vector<std::byte>& rest) {
  const std::size_t at = next_;
  PutLe(bytes_, at, type, 4);
  PutLe(bytes_, at + 4, length, 4);
  std::copy(rest.begin(), rest.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(at + 8));
  next_ = std::min<std::size_t>(at + Align8(std::max<std::uint32_t>(length, 8)), kFileRecordBytes - 8);
  return *this;
}

RecordBuilder& RecordBuilder::BaseRecord(std::uint64_t number) {
  return Put(0x20, number | (std::uint64_t{1} << 48), 8);
}

RecordBuilder& RecordBuilder::Put(std::size_t offset, std::uint64_t value, int width) {
  PutLe(bytes_, offset, value, width);
  return *this;
}

FileRecord RecordBuilder::Build() const {
  FileRecord record;
  std::copy(bytes_.begin(), bytes_.end(), record.begin());
  return record;
}

std::vector<std::byte> RecordBuilder::OnDisk(std::uint16_t sequence_number) const {
  std::vector<std::byte> disk = bytes_;
  PutLe(disk, 0x30, sequence_number, 2);
  for (std::size_t i = 0; i < 2; ++i) {
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(510 + 512 * i), 2,
                disk.begin() + static_cast<std::ptrdiff_t>(0x32 + 2 * i));
    PutLe(disk, 510 + 512 * i, sequence_number, 2);
  }
  return disk;
}

std::vector<std::byte> RunList(const std::vector<std::pair<std::uint64_t, std::int64_t>>& runs) {
  std::vector<std::byte> list;
  const auto width = [](std::uint64_t value, bool is_signed) {
    int n = 1;
    while (n < 8) {
      const std::uint64_t limit = std::uint64_t{1} << (8 * n - (is_signed ? 1 : 0));
      if (is_signed ? (static_cast<std::int64_t>(value) >= -static_cast<std::int64_t>(limit) &&
                       static_cast<std::int64_t>(value) < static_cast<std::int64_t>(limit))
                    : value < limit)
        break;
      ++n;
    }
    return n;
  };
  for (const auto& [clusters, offset] : runs) {
    const int length_width = width(clusters, false);
    const int offset_width = offset == 0 ? 0 : width(static_cast<std::uint64_t>(offset), true);
    list.push_back(static_cast<std::byte>(length_width | (offset_width << 4)));
    for (int i = 0; i < length_width; ++i) list.push_back(static_cast<std::byte>(clusters >> (8 * i)));
    for (int i = 0; i < offset_width; ++i)
      list.push_back(static_cast<std::byte>(static_cast<std::uint64_t>(offset) >> (8 * i)));
  }
  return list;
}

NtfsDisk::NtfsDisk(std::uint64_t sectors, std::uint64_t partition_start, std::uint32_t sectors_per_cluster)
    : bytes(sectors * 512), start(partition_start), per_cluster(sectors_per_cluster) {}

void NtfsDisk::Write(std::uint64_t sector, const std::vector<std::byte>& data) {
  std::copy(data.begin(), data.end(), bytes.begin() + static_cast<std::ptrdiff_t>(sector * 512));
}

void NtfsDisk::WriteRecord(const MftFragments& fragments, std::uint64_t number, const std::vector<std::byte>& data) {
  for (std::uint64_t half = 0; half < 2; ++half) {
    const std::uint64_t offset = number * 2 + half;
    const std::size_t index = fragments.FragmentAt(offset);
    const std::uint64_t sector = fragments.List()[index].start + (offset - fragments.SectorsBefore(index));
    std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(half * 512), 512,
                bytes.begin() + static_cast<std::ptrdiff_t>(sector * 512));
  }
}

TestDisk& NtfsDisk::Attach() {
  disk = std::make_unique<TestDisk>(bytes);
  return *disk;
}

NtfsVolume NtfsDisk::Volume(std::uint64_t mft_start) {
  TestDisk& attached = Attach();
  NtfsVolume volume;
  volume.sectors = &attached.Sectors();
  volume.device_path = attached.Path();
  volume.params.SectorsPerCluster = per_cluster;
  volume.params.Cluster0Start = start;
  volume.params.MftStart = mft_start;
  volume.params.ParamsFileSystemName = "NTFS";
  volume.end_sector = bytes.size() / 512;
  volume.read_limit_bytes = bytes.size();
  return volume;
}

std::vector<std::byte> IndexRecord(const std::vector<IndexRecordEntry>& entries, std::uint32_t parent) {
  std::vector<std::byte> b(4096);
  PutText(b, 0, "INDX");
  PutLe(b, 24, 64 - 24, 4);  // first entry, from the index header
  PutLe(b, 32, 4096 - 24, 4);
  std::size_t at = 64;
  for (const IndexRecordEntry& e : entries) {
    const std::size_t length = (82 + 2 * e.name.size() + 16 + 7) / 8 * 8;
    PutLe(b, at, e.child, 6);
    PutLe(b, at + 8, length, 2);
    PutLe(b, at + 16, parent, 6);
    PutLe(b, at + 24, 0x01DC000000000000ULL + e.child, 8);
    PutLe(b, at + 64, e.size, 8);
    PutLe(b, at + 72, e.folder ? 0x10000000 : 0x20, 4);
    PutLe(b, at + 80, e.name.size(), 1);
    PutLe(b, at + 81, 1, 1);
    for (std::size_t i = 0; i < e.name.size(); ++i) PutLe(b, at + 82 + 2 * i, e.name[i], 2);
    PutLe(b, at + 82 + 2 * e.name.size(), 0x1111, 8);
    PutLe(b, at + 90 + 2 * e.name.size(), 0x2222, 8);
    at += length;
  }
  PutLe(b, at + 8, 16, 2);
  PutLe(b, at + 12, 2, 1);  // the last entry of the node
  return b;
}

}  // namespace pellora::test
