#include "analysis/geometry/MaskPicture.h"

#include <cstring>
#include <utility>

#include "analysis/core/RowBlocks.h"
#include "platform/Exceptions.h"
#include "platform/PixelBits.h"

namespace tam32 {

QImage MaskPicture(const TPixelBits& Marked, const TPixelBits* Over, TColor OverColor, QImage Room) {
    QImage Picture = Room.isNull() ? QImage(Marked.Width(), Marked.Height(), QImage::Format_BGR888) : std::move(Room);
    if (Picture.isNull() && Marked.Width() > 0 && Marked.Height() > 0)
        throw EOutOfResources(QStringLiteral("Out of system resources"));
    uint8_t* const Bits = Picture.bits();
    const std::size_t Stride = std::size_t(Picture.bytesPerLine());
    ForEachRowBlock(0, Marked.Height() - 1, [&](const TRowBlock& Block) {
        for (int Y = Block.First; Y <= Block.Last; ++Y) {
            uint8_t* Row = Bits + std::size_t(Y) * Stride;
            std::memset(Row, 0, Stride);
            Marked.ForEachSet(Y, [Row](int X) { std::memset(Row + std::size_t(X) * 3, 255, 3); });
            if (Over)
                Over->ForEachSet(Y, [Row, OverColor](int X) {
                    uint8_t* Pixel = Row + std::size_t(X) * 3;
                    Pixel[0] = GetBValue(OverColor);
                    Pixel[1] = GetGValue(OverColor);
                    Pixel[2] = GetRValue(OverColor);
                });
        }
    });
    return Picture;
}

}  // namespace tam32
