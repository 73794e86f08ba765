#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ntfs/file_name.hpp"
#include "ntfs/file_record.hpp"
#include "ntfs/mft_fragments.hpp"
#include "ntfs/ntfs_volume.hpp"
#include "support/memory_disk.hpp"

namespace pellora::test {

// Builds FILE records field by field for tests: attributes are laid one after the other from 0x38
// (or wherever the first is set), each padded to 8 bytes, and closed by 0xFFFFFFFF.
class RecordBuilder {
 public:
  explicit RecordBuilder(std::uint8_t flags = kFileInUse);

  // A $FILE_NAME whose name is given in UTF-16 units.
  RecordBuilder& FileName(std::u16string_view name, std::uint8_t name_space, std::uint32_t parent,
                          std::uint64_t created = 0, std::u16string_view attribute_name = u"");
  // A $STANDARD_INFORMATION of the usual 0x48 bytes of value.
  RecordBuilder& StandardInformation();
  RecordBuilder& ResidentData(std::size_t length, std::u16string_view attribute_name = u"");
  RecordBuilder& NonResidentData(std::uint64_t real_size, const std::vector<std::byte>& run_list,
                                 std::uint64_t lowest_vcn = 0);
  // A resident $ATTRIBUTE_LIST naming these records.
  RecordBuilder& AttributeList(const std::vector<std::uint64_t>& records);
  // An attribute with a raw header and body: type, then whatever bytes follow the first eight.
  RecordBuilder& Raw(std::uint32_t type, std::uint32_t length, const std::vector<std::byte>& rest = {});
  RecordBuilder& BaseRecord(std::uint64_t number);
  RecordBuilder& Put(std::size_t offset, std::uint64_t value, int width);

  // The record as it is in memory (fixups applied).
  FileRecord Build() const;
  // The record as it lies on the disk: the last two bytes of each sector replaced by the update
  // sequence number, their originals kept in the update sequence array at 0x30.
  std::vector<std::byte> OnDisk(std::uint16_t sequence_number = 0x0A0B) const;

 private:
  std::size_t Append(std::uint32_t type, std::size_t length);
  // A resident attribute with its name and room for its value; returns where the value goes.
  std::size_t AppendResident(std::uint32_t type, std::u16string_view attribute_name, std::size_t value_length);
  std::vector<std::byte> bytes_;
  std::size_t next_ = 0x38;
};

// An entry of an index record (INDX) made by IndexRecord.
struct IndexRecordEntry {
  std::uint32_t child;
  std::u16string name;
  bool folder = false;
  std::uint64_t size = 0;
};

// A 4096-byte index record of the folder `parent` (fixups applied) with the entries one after the
// other from offset 64, closed by the last entry of the node.
std::vector<std::byte> IndexRecord(const std::vector<IndexRecordEntry>& entries, std::uint32_t parent = 77);

// A run list of (clusters, relative offset) pairs; an offset of 0 makes a sparse run.
std::vector<std::byte> RunList(const std::vector<std::pair<std::uint64_t, std::int64_t>>& runs);

// A disk in memory holding an NTFS partition: its records are written where the volume's
// fragments put them. The partition starts at `start`, clusters are `per_cluster` sectors.
struct NtfsDisk {
  NtfsDisk(std::uint64_t sectors, std::uint64_t start, std::uint32_t per_cluster);

  void Write(std::uint64_t sector, const std::vector<std::byte>& bytes);
  // Record `number` through the fragments (a record split between two fragments is split too).
  void WriteRecord(const MftFragments& fragments, std::uint64_t number, const std::vector<std::byte>& bytes);
  // The medium with what was written so far, and the volume read from it.
  TestDisk& Attach();
  NtfsVolume Volume(std::uint64_t mft_start);

  std::vector<std::byte> bytes;
  std::uint64_t start;
  std::uint32_t per_cluster;
  std::unique_ptr<TestDisk> disk;
};

}  // namespace pellora::test
