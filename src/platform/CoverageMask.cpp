#include "platform/CoverageMask.h"

#include <algorithm>

namespace tam32 {

CoverageMask::CoverageMask(const QRect& Box) : FBox(Box), FMask(Box.size(), QImage::Format_Grayscale8) {
    FMask.fill(kNone);
}

void CoverageMask::Apply(RasterTarget& Target, uint8_t Rop2, uint32_t Pen, uint32_t Gap,
                         uint32_t Brush) const {
    for (int row = 0; row < FMask.height(); ++row) {
        const uchar* marks = FMask.constScanLine(row);
        const int y = FBox.top() + row;
        for (int col = 0; col < FMask.width(); ++col) {
            switch (marks[col]) {
                case kPen: Target.MixInside(FBox.left() + col, y, Rop2, Pen); break;
                case kGap: Target.MixInside(FBox.left() + col, y, Rop2, Gap); break;
                case kBrush: Target.MixInside(FBox.left() + col, y, Rop2, Brush); break;
                default: break;
            }
        }
    }
}

QRect ClipToTarget(const RasterTarget& Target, int64_t Left, int64_t Top, int64_t Right, int64_t Bottom) {
    const int64_t left = std::max<int64_t>(Left, 0);
    const int64_t top = std::max<int64_t>(Top, 0);
    const int64_t right = std::min<int64_t>(Right, Target.Width());
    const int64_t bottom = std::min<int64_t>(Bottom, Target.Height());
    if (left >= right || top >= bottom) return {};
    return QRect(int(left), int(top), int(right - left), int(bottom - top));
}

}  // namespace tam32
