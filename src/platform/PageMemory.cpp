#include "platform/PageMemory.h"

#include <cstdint>
#include <sys/mman.h>

namespace tam32 {
namespace {

constexpr size_t kHugePage = size_t{2} << 20;

// Large blocks start on a huge-page boundary and ask for huge pages: a
// picture of tens of megabytes then costs a few dozen page faults instead of
// thousands, which is most of the time of loading it.
void* AllocateHugeAligned(size_t Size) {
    const size_t span = Size + kHugePage;
    void* raw = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
    if (aligned > start) munmap(raw, aligned - start);
    const uintptr_t end = start + span;
    const uintptr_t used = aligned + Size;
    if (end > used) munmap(reinterpret_cast<void*>(used), end - used);
    madvise(reinterpret_cast<void*>(aligned), Size, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
}

}  // namespace

void* AllocatePages(size_t Size) {
    if (Size == 0) return nullptr;
    if (Size >= kHugePage) return AllocateHugeAligned(Size);
    void* p = mmap(nullptr, Size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return p == MAP_FAILED ? nullptr : p;
}

void AdviseHugePages(void* Block, size_t Size) {
    const uintptr_t start = reinterpret_cast<uintptr_t>(Block);
    const uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t last = (start + Size) & ~(kHugePage - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

void FreePages(void* Block, size_t Size) {
    if (Block != nullptr) munmap(Block, Size);
}

}  // namespace tam32
