#include "platform/LargeBlocks.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

namespace tam32 {
namespace {

constexpr size_t kParallelFrom = size_t{8} << 20;
constexpr size_t kMaxThreads = 8;
constexpr size_t kPageSize = 4096;

// Calls Part(start, length) for page-aligned parts covering Size bytes,
// on several threads when the block is large.
template <class PartFn>
void InParts(size_t Size, PartFn&& Part) {
    const size_t threads =
        Size < kParallelFrom ? 1 : std::clamp<size_t>(std::thread::hardware_concurrency(), 1, kMaxThreads);
    if (threads == 1) {
        if (Size != 0) Part(0, Size);
        return;
    }
    // Whole pages per part, so no two threads fault on the same page.
    const size_t chunk = (Size / threads + kPageSize - 1) / kPageSize * kPageSize;
    std::vector<std::thread> workers;
    workers.reserve(threads - 1);
    for (size_t start = chunk; start < Size; start += chunk) {
        const size_t length = std::min(chunk, Size - start);
        try {
            workers.emplace_back([&Part, start, length] { Part(start, length); });
        } catch (const std::system_error&) {
            Part(start, length);
        }
    }
    Part(0, std::min(chunk, Size));
    for (std::thread& worker : workers) worker.join();
}

}  // namespace

void CopyBlock(void* Dest, const void* Source, size_t Size) {
    auto* to = static_cast<unsigned char*>(Dest);
    const auto* from = static_cast<const unsigned char*>(Source);
    InParts(Size, [=](size_t Start, size_t Length) { std::memcpy(to + Start, from + Start, Length); });
}

int64_t ReadFileBlock(int Handle, int64_t Offset, void* Dest, size_t Size) {
    auto* to = static_cast<unsigned char*>(Dest);
    // Each part's length and bytes read, by its first page.
    std::vector<std::pair<size_t, size_t>> parts(Size / kPageSize + 1);
    InParts(Size, [&](size_t Start, size_t Length) {
        size_t done = 0;
        while (done < Length) {
            const ssize_t n = ::pread(Handle, to + Start + done, Length - done, off_t(Offset + int64_t(Start + done)));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += size_t(n);
        }
        parts[Start / kPageSize] = {Length, done};
    });
    // The bytes read are those up to the end of the first short part.
    size_t total = 0;
    while (total < Size) {
        const auto [length, done] = parts[total / kPageSize];
        total += done;
        if (done < length) break;
    }
    return int64_t(total);
}

void ClearBlock(void* Dest, size_t Size) {
    auto* to = static_cast<unsigned char*>(Dest);
    InParts(Size, [=](size_t Start, size_t Length) { std::memset(to + Start, 0, Length); });
}

}  // namespace tam32
