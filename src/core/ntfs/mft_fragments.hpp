#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "ntfs/ntfs_volume.hpp"

namespace pellora {

// One piece of the $MFT on the disk: `sectors` sectors from absolute sector `start`.
struct MftFragment {
  std::uint64_t start = 0;
  std::uint64_t sectors = 0;

  bool operator==(const MftFragment&) const = default;
};

// Where the $MFT lies, in file order: the runs of its $DATA as absolute sectors. Rebuilt for each
// NTFS search. Holds the running sum of the lengths, so that finding a record's fragment is a
// binary search however many fragments there are.
class MftFragments {
 public:
  MftFragments() { fragments_.reserve(512); }

  void Add(MftFragment fragment);
  void Clear();
  std::span<const MftFragment> List() const { return fragments_; }
  std::size_t Size() const { return fragments_.size(); }
  bool Empty() const { return fragments_.empty(); }
  std::uint64_t TotalSectors() const { return ends_.empty() ? 0 : ends_.back(); }
  // Sectors of the $MFT before fragment i.
  std::uint64_t SectorsBefore(std::size_t i) const { return ends_[i] - fragments_[i].sectors; }
  // The fragment that holds sector `offset` of the $MFT (counted over all fragments), or Size().
  std::size_t FragmentAt(std::uint64_t offset) const;

 private:
  std::vector<MftFragment> fragments_;
  std::vector<std::uint64_t> ends_;  // ends_[i]: sectors of the $MFT up to the end of fragment i
};

// Reads record 0 of the $MFT (two sectors at MftStart) and turns the run list of its $DATA into
// fragments, counting clusters from the partition's first sector. A run list that goes on past
// the record's bytes is read on from the following sectors (at most a megabyte of it). Sparse and
// empty runs add no fragment; fragments are clipped to the partition, and once they add up to the
// partition's size no more are taken, so that a damaged list cannot make the scan read a disk
// many times over. A $MFT in so many pieces that record 0 lists extension records has the runs
// kept there joined on in file order. No "FILE" at MftStart, or no $DATA, gives no fragments.
MftFragments BuildMftFragments(const NtfsVolume& volume);

}  // namespace pellora
