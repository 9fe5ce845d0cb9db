#pragma once
// Memory handles in the manner of LocalAlloc/GlobalAlloc. A handle is a heap
// block that records its size and a check value, and every live handle is
// known, so a handle that comes back from a plug-in or a scanner driver can
// be validated (and its size checked) before the program touches its bytes.
#include <cstddef>
#include <cstdint>

namespace tam32 {

struct MemoryBlock;  // opaque
using HLOCAL = MemoryBlock*;
using HGLOBAL = MemoryBlock*;

constexpr uint32_t LMEM_FIXED = 0x0000;
constexpr uint32_t LMEM_MOVEABLE = 0x0002;
constexpr uint32_t LMEM_ZEROINIT = 0x0040;
constexpr uint32_t LHND = LMEM_MOVEABLE | LMEM_ZEROINIT;
constexpr uint32_t GMEM_FIXED = 0x0000;
constexpr uint32_t GMEM_MOVEABLE = 0x0002;
constexpr uint32_t GMEM_ZEROINIT = 0x0040;
constexpr uint32_t GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;

// nullptr when the memory cannot be had.
HLOCAL LocalAlloc(uint32_t Flags, size_t Bytes);
// The block's first byte; nullptr for a handle that is not live.
void* LocalLock(HLOCAL Handle);
// False when the handle is not live or was not locked.
bool LocalUnlock(HLOCAL Handle);
// nullptr on success; the handle itself when it is not live (nothing freed).
HLOCAL LocalFree(HLOCAL Handle);
// The handle whose first byte Data is; nullptr when no live handle has it.
HLOCAL LocalHandle(const void* Data);
// The usable size in bytes; 0 for a handle that is not live.
size_t LocalSize(HLOCAL Handle);
bool IsValidMemoryHandle(HLOCAL Handle);
// How many handles are live, so that tests can show that nothing leaked.
size_t LiveMemoryHandleCount();

inline HGLOBAL GlobalAlloc(uint32_t Flags, size_t Bytes) { return LocalAlloc(Flags, Bytes); }
inline void* GlobalLock(HGLOBAL Handle) { return LocalLock(Handle); }
inline bool GlobalUnlock(HGLOBAL Handle) { return LocalUnlock(Handle); }
inline HGLOBAL GlobalFree(HGLOBAL Handle) { return LocalFree(Handle); }
inline size_t GlobalSize(HGLOBAL Handle) { return LocalSize(Handle); }

// Locks a handle for one scope and unlocks it in every case.
class MemoryLock {
public:
    explicit MemoryLock(HLOCAL Handle) : FHandle(Handle), FData(LocalLock(Handle)) {}
    ~MemoryLock() {
        if (FData != nullptr) LocalUnlock(FHandle);
    }
    MemoryLock(const MemoryLock&) = delete;
    MemoryLock& operator=(const MemoryLock&) = delete;
    void* Data() const { return FData; }
    size_t Size() const { return FData != nullptr ? LocalSize(FHandle) : 0; }

private:
    HLOCAL FHandle;
    void* FData;
};

}  // namespace tam32
