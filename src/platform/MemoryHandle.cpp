#include "platform/MemoryHandle.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_set>

#include "platform/PageMemory.h"

namespace tam32 {

struct MemoryBlock {
    uint64_t Check;
    size_t Size;
    uint32_t LockCount;
    // the data follows, aligned for any type
};

namespace {

constexpr uint64_t kCheckSeed = 0x54414D3332484E44ULL;  // arbitrary

constexpr size_t kHeaderSize =
    (sizeof(MemoryBlock) + alignof(std::max_align_t) - 1) / alignof(std::max_align_t) *
    alignof(std::max_align_t);

struct Registry {
    std::mutex Lock;
    std::unordered_set<MemoryBlock*> Live;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

uint64_t CheckValueOf(const MemoryBlock* Block) {
    return kCheckSeed ^ reinterpret_cast<uintptr_t>(Block);
}

// Caller holds the registry lock.
bool IsLive(Registry& r, HLOCAL Handle) {
    return Handle != nullptr && r.Live.count(Handle) != 0 && Handle->Check == CheckValueOf(Handle);
}

unsigned char* DataOf(MemoryBlock* Block) {
    return reinterpret_cast<unsigned char*>(Block) + kHeaderSize;
}

}  // namespace

HLOCAL LocalAlloc(uint32_t Flags, size_t Bytes) {
    if (Bytes > SIZE_MAX - kHeaderSize) return nullptr;
    void* raw = (Flags & LMEM_ZEROINIT) ? std::calloc(1, kHeaderSize + Bytes)
                                        : std::malloc(kHeaderSize + Bytes);
    if (raw == nullptr) return nullptr;
    // A picture's block, untouched yet, comes in huge pages: filling it and
    // giving it back then cost a few dozen page faults and unmappings
    // instead of thousands.
    AdviseHugePages(raw, kHeaderSize + Bytes);
    auto* block = static_cast<MemoryBlock*>(raw);
    block->Check = CheckValueOf(block);
    block->Size = Bytes;
    block->LockCount = 0;
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.Lock);
    try {
        r.Live.insert(block);
    } catch (const std::bad_alloc&) {
        std::free(raw);
        return nullptr;
    }
    return block;
}

void* LocalLock(HLOCAL Handle) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.Lock);
    if (!IsLive(r, Handle)) return nullptr;
    ++Handle->LockCount;
    return DataOf(Handle);
}

bool LocalUnlock(HLOCAL Handle) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.Lock);
    if (!IsLive(r, Handle) || Handle->LockCount == 0) return false;
    --Handle->LockCount;
    return Handle->LockCount > 0;
}

HLOCAL LocalFree(HLOCAL Handle) {
    if (Handle == nullptr) return nullptr;
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.Lock);
    if (!IsLive(r, Handle)) return Handle;
    r.Live.erase(Handle);
    Handle->Check = 0;
    std::free(Handle);
    return nullptr;
}

HLOCAL LocalHandle(const void* Data) {
    if (Data == nullptr) return nullptr;
    // Only compared with the live handles, never dereferenced unless live.
    auto* block = reinterpret_cast<HLOCAL>(reinterpret_cast<uintptr_t>(Data) - kHeaderSize);
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.Lock);
    return IsLive(r, block) ? block : nullptr;
}

size_t LocalSize(HLOCAL Handle) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.Lock);
    return IsLive(r, Handle) ? Handle->Size : 0;
}

bool IsValidMemoryHandle(HLOCAL Handle) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.Lock);
    return IsLive(r, Handle);
}

size_t LiveMemoryHandleCount() {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.Lock);
    return r.Live.size();
}

}  // namespace tam32
