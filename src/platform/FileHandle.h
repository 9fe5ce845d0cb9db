#pragma once
// An open file handle of the system, closed with the object.
#include <unistd.h>
#include <utility>

namespace tam32 {

class TFileHandle {
public:
    explicit TFileHandle(int Handle = -1) : FHandle(Handle) {}
    ~TFileHandle() {
        if (FHandle >= 0) ::close(FHandle);
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    TFileHandle(TFileHandle&& Other) noexcept : FHandle(std::exchange(Other.FHandle, -1)) {}
    TFileHandle& operator=(TFileHandle&& Other) noexcept {
        std::swap(FHandle, Other.FHandle);
        return *this;
    }
    // -1 when none is open.
    int Get() const { return FHandle; }

private:
    int FHandle;
};

}  // namespace tam32
