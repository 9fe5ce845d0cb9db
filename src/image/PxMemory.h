#pragma once
// Pixel blocks: page mappings (the default for every store) or heap blocks,
// always zero-filled.
#include <cstdint>

#include "image/PxDIBTypes.h"
#include "platform/Stream.h"

namespace tam32 {

// Raises EOutOfResources "GetMemory: Cannot Make File Mapping Object" when the
// mapping cannot be made, the platform's out-of-memory error for the heap.
void GetMemory(int64_t Size, uintptr_t& MappingHandle, uint8_t*& Bits, bool UseFileMapping);
void FreeMemory(uintptr_t MappingHandle, uint8_t* Bits, bool UseFileMapping);

// The next Size bytes (0 to kMaxPixelBlockSize) of Stream as the pixel block
// of a record under construction: the stream's own block when it hands one
// over (no copy, no zeroing), else a new block filled from the stream.
void ReadPixelBlock(TStream& Stream, TPxDIBInfos& Infos, int64_t Size, bool UseFileMapping);

// Allocates the pixel block of a record under construction.
inline void GetMemory(TPxDIBInfos& Infos, int64_t Size, bool UseFileMapping) {
    GetMemory(Size, Infos.MappingHandle, Infos.Bits, UseFileMapping);
    Infos.BitsSize = static_cast<uint32_t>(Size);
}

// Frees the pixel block of a record under construction unless it was handed
// on (Release), so a failing loader or conversion never leaks its block.
class TPxBitsGuard {
public:
    TPxBitsGuard(TPxDIBInfos& Infos, bool UseFileMapping)
        : FInfos(&Infos), FUseFileMapping(UseFileMapping) {}
    ~TPxBitsGuard() {
        if (FInfos != nullptr && FInfos->Bits != nullptr) {
            FreeMemory(FInfos->MappingHandle, FInfos->Bits, FUseFileMapping);
            FInfos->Bits = nullptr;
            FInfos->MappingHandle = 0;
            FInfos->BitsSize = 0;
        }
    }
    TPxBitsGuard(const TPxBitsGuard&) = delete;
    TPxBitsGuard& operator=(const TPxBitsGuard&) = delete;
    void Release() { FInfos = nullptr; }

private:
    TPxDIBInfos* FInfos;
    bool FUseFileMapping;
};

}  // namespace tam32
