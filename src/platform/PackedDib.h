#pragma once
// Packed DIB blocks, the clipboard's device-independent bitmap format: an
// information header, the colour masks and table, then the pixel bits, which
// is a BMP file without its 14-byte file header. Blocks come from other
// programs, so every size is computed in 64 bits or more and checked against
// the bytes present; a block whose header claims more than it holds is refused.
#include <QByteArray>
#include <QImage>
#include <cstddef>
#include <cstdint>

#include "platform/MemoryHandle.h"

namespace tam32::PackedDib {

// The BMP file image of the packed DIB at Data; empty when it is not a valid one.
QByteArray ToBmpFile(const uint8_t* Data, size_t Size);
// The packed DIB within a BMP file image (its bits taken from bfOffBits);
// empty when the file is not a valid one.
QByteArray FromBmpFile(const QByteArray& File);
// A 24-bit bottom-up packed DIB of the picture; empty for a null picture or
// one too large for a DIB.
QByteArray FromImage(const QImage& Image);

// Decodes a BMP file image with Qt's reader, within an allocation limit
// larger than any picture the program works on, so that a header claiming
// absurd dimensions cannot exhaust the memory. Null when it cannot be decoded.
QImage DecodeBmpFile(const QByteArray& File);

// A new movable block holding Bytes; nullptr when the memory cannot be had.
HGLOBAL ToHandle(const QByteArray& Bytes);
// The bytes of a live block; empty for a handle that is not live.
QByteArray FromHandle(HGLOBAL Handle);

}  // namespace tam32::PackedDib
