#pragma once
// Zero-filled pixel blocks outside the heap (anonymous mappings), the stand-in
// for page-file backed memory: large images need no contiguous heap block and
// go back to the system as soon as they are freed.
#include <cstddef>

namespace tam32 {

// Returns nullptr when the system refuses the mapping or Size is 0.
void* AllocatePages(size_t Size);
void FreePages(void* Block, size_t Size);
// Asks for huge pages on the whole huge pages inside a large block that is
// not touched yet (for heap blocks too large to come from page mappings).
void AdviseHugePages(void* Block, size_t Size);

}  // namespace tam32
