#pragma once
// The largest single block the process asks for while a watch is on, from
// any code: the plug-ins, the libraries they decode with, the host. Without
// a sanitizer the C library's allocation functions are wrapped; a sanitizer
// build, which wraps them itself, reports through its allocation hooks.
#include <cstddef>

namespace tam32::test {

class TAllocationWatch {
public:
    TAllocationWatch();
    ~TAllocationWatch();
    TAllocationWatch(const TAllocationWatch&) = delete;
    TAllocationWatch& operator=(const TAllocationWatch&) = delete;
    // Bytes of the largest block asked for since the watch began.
    size_t Largest() const;
};

}  // namespace tam32::test
