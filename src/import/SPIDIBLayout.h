#pragma once
// The sizes of a DIB that a plug-in decoded, and the checks it must pass
// before the host reads it: a plug-in is outside code, so its header is
// trusted no further than the blocks it sits in.
#include <cstdint>
#include <optional>

#include "platform/MemoryHandle.h"
#include "platform/WinTypes.h"

namespace tam32 {

struct TSPIDIBLayout {
    int32_t Width = 0;
    int32_t Height = 0;  // as stored: negative for a top-down picture
    int32_t ColorCount = 0;
    // Header, bit-field masks (when the header announces them) and colour table.
    int64_t InfoSize = 0;
    // The pixel rows, or the compressed data of an RLE picture.
    int64_t ImageSize = 0;
    bool IsFourBit = false;
};

// nullopt for a header that describes no picture this program can store: a
// header size other than 40, a width below 1, a height of 0, an unknown bit
// count or compression, more than 256 colours, an RLE picture without its
// data size, or a pixel block beyond the image model's limit.
std::optional<TSPIDIBLayout> DIBLayoutOf(const BITMAPINFOHEADER& Header);

// The layout of a plug-in's result; nullopt as above, or when either handle
// is not a live memory handle, both are the same block, or a block is
// smaller than the header says.
std::optional<TSPIDIBLayout> CheckDecodedDIB(HLOCAL HBInfo, HLOCAL HBm);

}  // namespace tam32
