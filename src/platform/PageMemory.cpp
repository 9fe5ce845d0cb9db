#include "platform/PageMemory.h"

#include <sys/mman.h>

namespace tam32 {

void* AllocatePages(size_t Size) {
    if (Size == 0) return nullptr;
    void* p = mmap(nullptr, Size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return p == MAP_FAILED ? nullptr : p;
}

void FreePages(void* Block, size_t Size) {
    if (Block != nullptr) munmap(Block, Size);
}

}  // namespace tam32
