#include "image/PxConvertSupport.h"

#include <QString>

namespace tam32 {
namespace {

QString RoutineMessage(const char* Routine, const char* Text) {
    return QString::fromLatin1(Routine) + QString::fromLatin1(Text);
}

}  // namespace

void CheckSourceFormat(const TPxDIBInfos& Source, uint16_t BitCount, uint32_t Compression,
                       const char* Routine) {
    if (Source.Header.biBitCount != BitCount || Source.Header.biCompression != Compression)
        throw EPxDIBBadDIBType(
            RoutineMessage(Routine, ": Invalid Bitcount & Compression Combination"));
}

TPxConvertGeometry ConvertGeometry(const TPxDIBInfos& Source, int StrideBitCount,
                                   const char* Routine) {
    const int64_t width = Source.Header.biWidth;
    const int64_t height = Source.Header.biHeight < 0 ? -static_cast<int64_t>(Source.Header.biHeight)
                                                      : Source.Header.biHeight;
    if (width < 1 || height == 0)
        throw EPxDIBInvalidDIB(RoutineMessage(Routine, ": Invalid Width or Height"));
    const TPxConvertGeometry geometry{width, height, DIBRowSize(StrideBitCount, width)};
    // Compared by division: stride x height of a 24-bit header can pass 2^63.
    if (geometry.Height > kMaxPixelBlockSize / geometry.Stride)
        throw EPxDIBInvalidDIB(RoutineMessage(Routine, ": Image Too Large"));
    return geometry;
}

void CheckUncompressedSource(const TPxDIBInfos& Source, int64_t Stride, int64_t Height,
                             const char* Routine) {
    if (Source.Bits == nullptr || static_cast<int64_t>(Source.BitsSize) < Stride * Height)
        throw EPxDIBInvalidDIB(RoutineMessage(Routine, ": Pixel Data Too Short"));
}

TPxDIBInfos RecordWithoutBlock(const TPxDIBInfos& Source) {
    TPxDIBInfos infos = Source;
    infos.BitsSize = 0;
    infos.MappingHandle = 0;
    infos.Bits = nullptr;
    return infos;
}

}  // namespace tam32
