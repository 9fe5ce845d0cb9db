#pragma once
// The zenith band, rounded zenith degree, sky weight and threshold-line
// weighting of the pixels of the image circle, computed once for each
// distance from the centre instead of once per pixel. With the centre in a
// pixel's middle or on its corner the pixels lie symmetrically around it, so
// a pixel is looked up by its column and row distance from the centre, and a
// distance met with the axes swapped is computed once. The table keeps, for
// each row distance the area reaches, only the columns within the circle
// (both sides folded together where the area straddles the centre), so its
// size follows the area within the circle however far away the centre lies.
// It is filled on the analysis threads.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/WinTypes.h"

namespace tam32 {

class TRadialGeometry {
public:
    // For the pixels of Area (inclusive) within the circle, from the circle
    // and lens settings. Usable() is false when the centre lies off the
    // symmetric positions or the slope correction is on; the caller then
    // computes per pixel.
    explicit TRadialGeometry(const TRect& Area);
    bool Usable() const { return FUsable; }

    // The geometry of the pixels of one row of the area within the circle.
    class TRow {
    public:
        // ZenithBand of the zenith: its whole degree 0..90 (EInvalidOp for no number).
        int Band(int X) const;
        // The zenith rounded to a whole degree 0..90 (ERangeError beyond, EInvalidOp for no number).
        int Degree(int X) const;
        // The solid angle weight of GapFraction's sky factor.
        double SkyWeight(int X) const { return FOwner->FSkyWeights[Cell(X)]; }
        // ZenithWeighting of the zenith; kept only while a zenith model is chosen.
        double Weighting(int X) const { return FOwner->FWeightings[Cell(X)]; }

    private:
        friend class TRadialGeometry;
        TRow(const TRadialGeometry& Owner, std::size_t Start) : FOwner(&Owner), FStart(Start) {}
        std::size_t Cell(int X) const { return FStart + FOwner->ColumnIndex(X); }
        const TRadialGeometry* FOwner;
        std::size_t FStart;  // the cell of the row's first column
    };
    TRow Row(int Y) const { return TRow(*this, FRowStarts[std::size_t(Index(int64_t(Y) - FCentreY) - FRows.First)]); }

private:
    // The distances an axis reaches: indices First..Last of |distance| - FHalf.
    struct TIndexRange {
        int64_t First = 0, Last = -1;
        std::size_t Count() const { return Last >= First ? std::size_t(Last - First + 1) : 0; }
    };
    // Pixel offset K from the centre pixel to the index of |distance| - FHalf.
    int64_t Index(int64_t K) const { return FHalf > 0.0 && K >= 1 ? K - 1 : (K < 0 ? -K : K); }
    std::size_t ColumnIndex(int X) const { return std::size_t(Index(int64_t(X) - FCentreX) - FColumns.First); }
    // The indices of the offsets From..To, no farther than the circle reaches.
    TIndexRange Reach(int64_t From, int64_t To) const;
    // The columns of table row Row that lie within the circle.
    std::size_t ColumnsWithin(std::size_t Row) const;
    void Fill();
    void FillCell(std::size_t Cell, int64_t I, int64_t J);

    bool FUsable = false;
    int64_t FCentreX = 0, FCentreY = 0;
    double FHalf = 0.0;    // distance of the first pixel from the centre along an axis
    double FReach2 = 0.0;  // square of the circle's radius of zenith 90
    TIndexRange FColumns, FRows;
    // Row by row, each row's columns within the circle; FRowStarts has one more entry than rows.
    std::vector<std::size_t> FRowStarts;
    // Planes of the cells, each cell written once by the fill.
    std::unique_ptr<double[]> FSkyWeights, FWeightings;
    std::unique_ptr<uint8_t[]> FBands, FDegrees;
};

}  // namespace tam32
