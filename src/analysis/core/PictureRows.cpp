#include "analysis/core/PictureRows.h"

#include "platform/Bitmap.h"

namespace tam32 {

std::vector<uint8_t*> WritableRows(TBitmap& Image, const TRect& Area) {
    std::vector<uint8_t*> Rows;
    for (int Y = Area.Top; Y <= Area.Bottom; ++Y)
        Rows.push_back(Y >= 0 && Y < Image.Height() ? Image.ScanLine(Y) : nullptr);
    return Rows;
}

std::vector<uint8_t*> WritableAnalysisRows(const TRect& Area) {
    std::vector<uint8_t*> Rows;
    for (int Y = Area.Top; Y <= Area.Bottom; ++Y) Rows.push_back(AnalysisImage->GetScanLine(Y));
    return Rows;
}

}  // namespace tam32
