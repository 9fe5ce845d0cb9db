#pragma once
// The file that a fuzz target writes each input to before its reader opens
// it by name: in memory, so that nothing is left behind however the run ends.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace tam32 {

struct TFuzzInputFile {
    explicit TFuzzInputFile(const char* Name) : Fd(memfd_create(Name, 0)), Path("/proc/self/fd/" + std::to_string(Fd)) {
        if (Fd < 0) std::abort();
    }
    void Write(const uint8_t* Data, size_t Size) const {
        if (ftruncate(Fd, 0) != 0 || pwrite(Fd, Data, Size, 0) != ssize_t(Size)) std::abort();
    }
    int Fd;
    std::string Path;
};

}  // namespace tam32
