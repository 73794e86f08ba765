#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace pellora {

// Memory for the tables that grow to tens of megabytes on a large card (hundreds of thousands of
// file rows): from 2 MiB on, it is mapped on its own and offered to the kernel for huge pages, so
// filling a table takes a page fault per 2 MiB instead of one per 4 KiB. Smaller tables come from
// the usual heap.
template <typename T>
class LargeTableAllocator {
 public:
  using value_type = T;
  static constexpr std::size_t kHugePage = std::size_t{2} << 20;

  LargeTableAllocator() = default;
  template <typename U>
  LargeTableAllocator(const LargeTableAllocator<U>&) noexcept {}  // NOLINT: rebinding is implicit

  T* allocate(std::size_t n) {
    if (n > SIZE_MAX / sizeof(T)) throw std::bad_array_new_length();
    const std::size_t bytes = n * sizeof(T);
    if (bytes < kHugePage) return std::allocator<T>().allocate(n);
    const std::size_t mapped = MappedBytes(bytes);
    // One huge page more than needed, so that the table can start on a huge-page boundary.
    void* area = ::mmap(nullptr, mapped + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED) throw std::bad_alloc();
    const auto begin = reinterpret_cast<std::uintptr_t>(area);
    const std::uintptr_t aligned = (begin + kHugePage - 1) & ~(kHugePage - 1);
    if (aligned != begin) ::munmap(area, aligned - begin);
    if (const std::size_t after = kHugePage - (aligned - begin); after != 0)
      ::munmap(reinterpret_cast<void*>(aligned + mapped), after);
    ::madvise(reinterpret_cast<void*>(aligned), mapped, MADV_HUGEPAGE);  // only advice: fine if refused
    return reinterpret_cast<T*>(aligned);
  }

  void deallocate(T* table, std::size_t n) noexcept {
    const std::size_t bytes = n * sizeof(T);
    if (bytes < kHugePage) {
      std::allocator<T>().deallocate(table, n);
      return;
    }
    ::munmap(table, MappedBytes(bytes));
  }

  template <typename U>
  bool operator==(const LargeTableAllocator<U>&) const noexcept {
    return true;
  }

 private:
  static std::size_t MappedBytes(std::size_t bytes) { return (bytes + kHugePage - 1) & ~(kHugePage - 1); }
};

}  // namespace pellora
