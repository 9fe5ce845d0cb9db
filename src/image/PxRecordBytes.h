#pragma once
// Byte view of a record's header and colour table. Files and packed DIBs
// store the header, the colour table and (with bit fields) three masks
// back to back; readers fill and reinterpret that area as one block.
#include <cstddef>
#include <cstdint>

#include "image/PxDIBTypes.h"

namespace tam32 {

static_assert(offsetof(TPxDIBInfos, Colors) == offsetof(TPxDIBInfos, Header) + 40);
static_assert(offsetof(TPxDIBInfos, Spare) == offsetof(TPxDIBInfos, Colors) + 1024);

// Header (40) + colour table (1024) + spare (16).
constexpr size_t kRecordHeaderAreaSize = 40 + 1024 + 16;

inline uint8_t* HeaderBytes(TPxDIBInfos& Infos) {
    return reinterpret_cast<uint8_t*>(&Infos) + offsetof(TPxDIBInfos, Header);
}
inline uint8_t* ColorBytes(TPxDIBInfos& Infos) {
    return reinterpret_cast<uint8_t*>(&Infos) + offsetof(TPxDIBInfos, Colors);
}
inline const uint8_t* ColorBytes(const TPxDIBInfos& Infos) {
    return reinterpret_cast<const uint8_t*>(&Infos) + offsetof(TPxDIBInfos, Colors);
}

}  // namespace tam32
