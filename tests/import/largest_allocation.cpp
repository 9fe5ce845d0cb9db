#include "largest_allocation.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAM32_SANITIZED_ALLOCATOR 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define TAM32_SANITIZED_ALLOCATOR 1
#endif

#ifdef TAM32_SANITIZED_ALLOCATOR
#include <sanitizer/allocator_interface.h>
#endif

namespace tam32::test {
namespace {

std::atomic<bool> gWatching{false};
std::atomic<size_t> gLargest{0};

void Note(size_t Bytes) {
    if (!gWatching.load(std::memory_order_relaxed)) return;
    size_t seen = gLargest.load(std::memory_order_relaxed);
    while (Bytes > seen && !gLargest.compare_exchange_weak(seen, Bytes, std::memory_order_relaxed)) {
    }
}

#ifdef TAM32_SANITIZED_ALLOCATOR
void OnMalloc(const volatile void*, size_t Bytes) { Note(Bytes); }
void OnFree(const volatile void*) {}
[[maybe_unused]] const int kHooksInstalled = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);
#endif

}  // namespace

TAllocationWatch::TAllocationWatch() {
    gLargest = 0;
    gWatching = true;
}

TAllocationWatch::~TAllocationWatch() { gWatching = false; }

size_t TAllocationWatch::Largest() const { return gLargest; }

}  // namespace tam32::test

#ifndef TAM32_SANITIZED_ALLOCATOR
// The C library's own allocator, under the names it exports for wrappers.
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);

void* malloc(size_t Bytes) {
    tam32::test::Note(Bytes);
    return __libc_malloc(Bytes);
}

void* calloc(size_t Count, size_t Size) {
    size_t bytes = 0;
    tam32::test::Note(__builtin_mul_overflow(Count, Size, &bytes) ? SIZE_MAX : bytes);
    return __libc_calloc(Count, Size);
}

void* realloc(void* Block, size_t Bytes) {
    tam32::test::Note(Bytes);
    return __libc_realloc(Block, Bytes);
}

void* memalign(size_t Alignment, size_t Bytes) {
    tam32::test::Note(Bytes);
    return __libc_memalign(Alignment, Bytes);
}

void* aligned_alloc(size_t Alignment, size_t Bytes) { return memalign(Alignment, Bytes); }

int posix_memalign(void** Block, size_t Alignment, size_t Bytes) {
    void* block = memalign(Alignment, Bytes);
    if (block == nullptr && Bytes != 0) return ENOMEM;
    *Block = block;
    return 0;
}
}
#endif
