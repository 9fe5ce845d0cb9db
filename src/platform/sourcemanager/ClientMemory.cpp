#include "platform/sourcemanager/ClientMemory.h"

#include <cstring>

#include "platform/MemoryHandle.h"

namespace tam32::sourcemanager {

namespace {

const TSourceManagerMemory* TheMemory = nullptr;

}  // namespace

void InstallClientMemory(const TSourceManagerMemory* Memory) { TheMemory = Memory; }

bool HasClientMemory() { return TheMemory != nullptr; }

TW_HANDLE NewClientBlock(size_t Bytes, const std::function<void(uint8_t* Data)>& Fill) {
    if (TheMemory == nullptr) return nullptr;
    TW_HANDLE handle = TheMemory->Alloc(GHND, Bytes);
    if (handle == nullptr) return nullptr;
    auto* data = static_cast<uint8_t*>(TheMemory->Lock(handle));
    if (data == nullptr) {
        TheMemory->Free(handle);
        return nullptr;
    }
    Fill(data);
    TheMemory->Unlock(handle);
    return handle;
}

bool ReadClientBlock(TW_HANDLE Handle, void* Out, size_t Bytes) {
    if (TheMemory == nullptr || TheMemory->Size(Handle) < Bytes) return false;
    const void* data = TheMemory->Lock(Handle);
    if (data == nullptr) return false;
    std::memcpy(Out, data, Bytes);
    TheMemory->Unlock(Handle);
    return true;
}

}  // namespace tam32::sourcemanager
