#pragma once
// Copying into or clearing a large block of fresh memory costs mostly the
// page faults of that memory, which the system serves in parallel; so large
// blocks are split into page-aligned parts that a few threads handle at once.
#include <cstddef>
#include <cstdint>

namespace tam32 {

void CopyBlock(void* Dest, const void* Source, size_t Size);
void ClearBlock(void* Dest, size_t Size);
// Reads Size bytes of the open file Handle from Offset into Dest, as one
// read would; the bytes read, fewer at the end of the file or on an error.
// The file's position is not used or moved.
int64_t ReadFileBlock(int Handle, int64_t Offset, void* Dest, size_t Size);

}  // namespace tam32
