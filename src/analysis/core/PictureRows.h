#pragma once
// The rows of the analysis image as the pixel passes read them: from any
// thread, and without copying a store that the kept decoding shares (the
// image model copies a shared store before handing out a writable row).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "analysis/core/AnalysisImage.h"

namespace tam32 {

class TPictureRows {
public:
    // Of a 24-bit picture; valid while it is neither changed nor freed.
    explicit TPictureRows(const TPxDIB& Picture)
        : FTop(Picture.ReadScanLine(0)), FWidth(Picture.Width()), FHeight(Picture.Height()) {
        if (FHeight > 1) FStride = Picture.ReadScanLine(1) - FTop;
    }
    // Of 24-bit rows from Top on, Stride bytes apart (while they decode, say).
    TPictureRows(const uint8_t* Top, std::ptrdiff_t Stride, int Width, int Height)
        : FTop(Top), FWidth(Width), FHeight(Height), FStride(Stride) {}
    // Of the loaded AnalysisImage.
    TPictureRows() : TPictureRows(*AnalysisImage) {}
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Contains(int X, int Y) const { return X >= 0 && Y >= 0 && X < FWidth && Y < FHeight; }
    // Row Y (from the top) of the image, blue-green-red bytes.
    const uint8_t* Row(int Y) const { return FTop + FStride * std::ptrdiff_t(Y); }
    // Asks the processor to fetch pixel (X, Y), within the picture, ahead of its reading.
    void Prefetch(int X, int Y) const { __builtin_prefetch(Row(Y) + std::size_t(X) * 3); }

private:
    const uint8_t* FTop;
    int FWidth, FHeight;
    std::ptrdiff_t FStride = 0;
};

// Rows Area.Top..Area.Bottom of a 24-bit window picture, null beyond its
// height, taken on the calling thread so that blocks on the analysis threads
// can paint them.
std::vector<uint8_t*> WritableRows(TBitmap& Image, const TRect& Area);
// The same of the analysis image, Area within it; a store shared with the
// kept decoding is copied here, once.
std::vector<uint8_t*> WritableAnalysisRows(const TRect& Area);

}  // namespace tam32
