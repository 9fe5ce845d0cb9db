#pragma once
// Copying into or clearing a large block of fresh memory costs mostly the
// page faults of that memory, which the system serves in parallel; so large
// blocks are split into page-aligned parts that a few threads handle at once.
#include <cstddef>

namespace tam32 {

void CopyBlock(void* Dest, const void* Source, size_t Size);
void ClearBlock(void* Dest, size_t Size);

}  // namespace tam32
