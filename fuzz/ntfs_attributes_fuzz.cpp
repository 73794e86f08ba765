// Hostile FILE records read by every walker of the NTFS engine: the MFT scan, its arrangement,
// the names and sizes of the file list, attribute lists and the content of files. Nothing may
// crash, loop or report a failure (a report means a missed bounds check).

#include <cstdint>
#include <cstdlib>

#include "common/progress.hpp"
#include "fuzz_medium.hpp"
#include "model/recovered_results.hpp"
#include "ntfs/attribute_walk.hpp"
#include "ntfs/file_content.hpp"
#include "ntfs/file_details.hpp"
#include "ntfs/file_name.hpp"
#include "ntfs/mft_scan.hpp"
#include "search/store_and_arrange.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < pellora::kFileRecordBytes) return 0;
  pellora::fuzz::FuzzMedium medium(data, size);
  pellora::NtfsVolume volume;
  volume.sectors = &medium.sectors;
  volume.device_path = medium.path;
  volume.params.SectorsPerCluster = 8;
  volume.end_sector = medium.Sectors();
  volume.read_limit_bytes = size;
  volume.reporter = &medium.reporter;

  // Every record of the input is a record of the $MFT, which is the whole input.
  const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(data), size);
  for (std::size_t at = 0; at + pellora::kFileRecordBytes <= size; at += pellora::kFileRecordBytes) {
    const auto record = bytes.subspan(at, pellora::kFileRecordBytes);
    pellora::AttributeWalk walk(record);
    std::size_t last = 0;
    while (const auto attribute = walk.Next()) {
      if (attribute->offset < last || attribute->offset + attribute->length >= pellora::kFileRecordBytes) std::abort();
      last = attribute->offset + 1;
      if (const auto value = attribute->ResidentValue();
          value && (value->data() < record.data() || value->data() + value->size() > record.data() + record.size()))
        std::abort();
    }
    (void)pellora::ChooseFileName(record, pellora::NameText::kFile);
    (void)pellora::ChooseFileName(record, pellora::NameText::kFolder);
  }
  pellora::MftFragments fragments;
  fragments.Add({0, medium.Sectors()});
  pellora::RecoveredResults results;
  pellora::ProgressBar progress;
  pellora::ScanMftRecords(volume, fragments, results, medium.ui, progress, {}, 0);
  pellora::StoreAndArrangeNtfs(results, medium.ui, progress, medium.reporter);

  pellora::RecordReader reader(volume);
  for (const pellora::NtfsFileRow& row : results.ntfs_files) {
    const auto details = pellora::ReadNtfsFileDetails(reader, fragments, row.record_sector);
    const pellora::NtfsFileData content = pellora::ReadNtfsFileData(reader, fragments, row.record_sector);
    std::uint64_t copied = 0;
    const std::uint64_t wanted = details ? std::min<std::uint64_t>(details->size, 1 << 20) : 0;
    pellora::CopyNtfsFile(reader, content, wanted, [&](std::span<const std::byte> piece) {
      copied += piece.size();
      return true;
    });
    if (content.kind == pellora::NtfsFileData::Kind::kRuns && copied > wanted) std::abort();
  }
  return 0;
}
