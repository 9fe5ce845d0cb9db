#include "image/PxMemory.h"

#include <cstdlib>

#include "platform/PageMemory.h"

namespace tam32 {

void GetMemory(int64_t Size, uintptr_t& MappingHandle, uint8_t*& Bits, bool UseFileMapping) {
    if (Size < 0 || Size > kMaxPixelBlockSize)
        throw EOutOfResources(QStringLiteral("GetMemory: Cannot Make File Mapping Object"));
    // A zero-sized block is still a distinct block: round it up to one byte.
    const size_t bytes = Size == 0 ? 1 : static_cast<size_t>(Size);
    if (UseFileMapping) {
        void* p = AllocatePages(bytes);
        if (p == nullptr)
            throw EOutOfResources(QStringLiteral("GetMemory: Cannot Make File Mapping Object"));
        MappingHandle = bytes;
        Bits = static_cast<uint8_t*>(p);
    } else {
        void* p = std::calloc(1, bytes);
        if (p == nullptr) throw EOutOfMemory(QStringLiteral("Out of memory"));
        MappingHandle = 0;
        Bits = static_cast<uint8_t*>(p);
    }
}

void FreeMemory(uintptr_t MappingHandle, uint8_t* Bits, bool UseFileMapping) {
    if (Bits == nullptr) return;
    if (MappingHandle == kMemoryHandleBlock)
        LocalFree(LocalHandle(Bits));
    else if (UseFileMapping)
        FreePages(Bits, MappingHandle);
    else
        std::free(Bits);
}

void ReadPixelBlock(TStream& Stream, TPxDIBInfos& Infos, int64_t Size, bool UseFileMapping) {
    if (const HLOCAL Block = Stream.TakeBlock(Size)) {
        Infos.Bits = static_cast<uint8_t*>(LocalLock(Block));
        Infos.MappingHandle = kMemoryHandleBlock;
        Infos.BitsSize = static_cast<uint32_t>(Size);
        return;
    }
    GetMemory(Infos, Size, UseFileMapping);
    Stream.ReadBuffer(Infos.Bits, Size);
}

}  // namespace tam32
