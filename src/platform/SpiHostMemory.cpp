// The memory-handle functions the program hands to image plug-ins: the same
// handles as LocalAlloc's, so the host can validate and size every block a
// plug-in returns. Every program that links the plug-in host exports these
// symbols (see plugins/CMakeLists.txt).
#include "platform/LargeBlocks.h"
#include "platform/MemoryHandle.h"
#include "platform/SpiAbi.h"

static_assert(SPI_LMEM_FIXED == tam32::LMEM_FIXED && SPI_LMEM_MOVEABLE == tam32::LMEM_MOVEABLE &&
              SPI_LMEM_ZEROINIT == tam32::LMEM_ZEROINIT);

namespace {

tam32::HLOCAL AsHandle(SpiHandle Handle) { return static_cast<tam32::HLOCAL>(Handle); }

}  // namespace

extern "C" {

// Every block is handed out cleared, so bytes a plug-in leaves unwritten
// never show what the memory held before. A plug-in fills its picture on one
// thread; clearing it here on several takes the page faults of a large
// block off the decoding.
SpiHandle SpiLocalAlloc(uint32_t flags, size_t bytes) {
    const tam32::HLOCAL handle = tam32::LocalAlloc(flags & ~tam32::LMEM_ZEROINIT, bytes);
    if (handle != nullptr) {
        const tam32::MemoryLock block(handle);
        tam32::ClearBlock(block.Data(), bytes);
    }
    return handle;
}

void* SpiLocalLock(SpiHandle handle) { return tam32::LocalLock(AsHandle(handle)); }

int32_t SpiLocalUnlock(SpiHandle handle) { return tam32::LocalUnlock(AsHandle(handle)) ? 1 : 0; }

SpiHandle SpiLocalFree(SpiHandle handle) { return tam32::LocalFree(AsHandle(handle)); }

size_t SpiLocalSize(SpiHandle handle) { return tam32::LocalSize(AsHandle(handle)); }

}  // extern "C"
