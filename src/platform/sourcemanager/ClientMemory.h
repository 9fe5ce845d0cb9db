#pragma once
// The client's memory-handle functions, which the manager uses for every
// block it hands the client or reads from it, so that the client can
// validate and free them as its own.
#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/SourceManagerAbi.h"

namespace tam32::sourcemanager {

void InstallClientMemory(const TSourceManagerMemory* Memory);
bool HasClientMemory();

// A new zero-filled block of Bytes that Fill writes; nullptr when the memory
// cannot be had (or the client gave no functions).
TW_HANDLE NewClientBlock(size_t Bytes, const std::function<void(uint8_t* Data)>& Fill);
// Copies the first Bytes of a client block; false when the handle is not a
// live block of at least that size.
bool ReadClientBlock(TW_HANDLE Handle, void* Out, size_t Bytes);

}  // namespace tam32::sourcemanager
