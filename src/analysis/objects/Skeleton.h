#pragma once
// Skeletons of thin structures (roots, stems, veins): the target pixels of a
// box thinned to one-pixel lines by a sequential thinning in raster order,
// each skeleton pixel classed by the skeleton pixels around it, and the
// lines followed from their end and branch points.
#include <array>
#include <cstdint>
#include <vector>

#include "platform/WinTypes.h"

namespace tam32 {

// The 8-connectivity number of a pixel from its neighbour ring p0..p8 (p0
// east, then counter-clockwise on the screen: north-east, north, ...; p8 =
// p0), each 0 or 255: the number of k in {0, 2, 4, 6} with p_k = 0 and
// p_k+1 or p_k+2 = 255.
int ConnectivityNumber(const std::array<uint8_t, 9>& Ring);

// The binarised box and its thinning. The grid covers the box widened by
// one pixel on each side; only box pixels are thinned.
class TSkeletonGrid {
public:
    // Box: inclusive; everything starts as background.
    explicit TSkeletonGrid(const TRect& Box);
    const TRect& Box() const { return FBox; }
    // Marks a pixel of the widened box as target.
    void SetTarget(int X, int Y) { Cell(X, Y) = kTarget; }
    bool IsSkeleton(int X, int Y) const { return Cell(X, Y) == kTarget; }
    // Passes over the box until one deletes nothing; the number of passes
    // that deleted pixels. A pixel deleted in a pass holds the pass's number,
    // so later pixels of the same pass still see it as part of the region.
    int Thin();

private:
    static constexpr uint16_t kTarget = 0xFFFF;
    uint16_t& Cell(int X, int Y) {
        return FCells[std::size_t(Y - FBox.Top + 1) * FStride + std::size_t(X - FBox.Left + 1)];
    }
    uint16_t Cell(int X, int Y) const {
        return FCells[std::size_t(Y - FBox.Top + 1) * FStride + std::size_t(X - FBox.Left + 1)];
    }
    // Deletes what pass Pass deletes; the number deleted.
    int64_t ThinningPass(uint16_t Pass);

    TRect FBox;
    std::size_t FStride;
    std::vector<uint16_t> FCells;
    // Per box row, the columns between the first and last target pixel.
    std::vector<std::array<int, 2>> FSpans;
};

// Classes of the skeleton pixels of the box: the number of skeleton pixels
// in the 3 x 3 neighbourhood within the box, the pixel itself included
// (2 an end point, 3 a line point, 4 and more a branch point); 0 for a lone
// skeleton pixel and for every other pixel. Tracing sets the pixels it
// visits to 1.
class TSkeletonClasses {
public:
    explicit TSkeletonClasses(const TSkeletonGrid& Grid);
    const TRect& Box() const { return FBox; }
    uint8_t At(int X, int Y) const { return Cell(X, Y); }

    // Follows one line from (X, Y), a box pixel: step by step to the
    // neighbour of the highest class (the first in raster order among
    // equals) along line points, ending on an end or branch point, marking
    // what it leaves behind. The length in pixels (1 per straight and
    // sqrt(2) per diagonal step); a trace ends after as many steps as the
    // box has pixels. NewMarks: whether it marked a pixel not marked before.
    double TraceLineLength(int X, int Y, bool& NewMarks);

private:
    uint8_t& Cell(int X, int Y) {
        return FCells[std::size_t(Y - FBox.Top + 1) * FStride + std::size_t(X - FBox.Left + 1)];
    }
    uint8_t Cell(int X, int Y) const {
        return FCells[std::size_t(Y - FBox.Top + 1) * FStride + std::size_t(X - FBox.Left + 1)];
    }
    void Mark(int X, int Y, bool& NewMarks);

    TRect FBox;
    std::size_t FStride;
    std::vector<uint8_t> FCells;  // with a frame of zeros around the box
};

}  // namespace tam32
