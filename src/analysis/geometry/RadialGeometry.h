#pragma once
// The zenith band, rounded zenith degree, sky weight and threshold-line
// weighting of the pixels of the image circle, computed once for each
// distance from the centre instead of once per pixel. With the centre in a
// pixel's middle or on its corner the pixels lie symmetrically around it, so
// a pixel is looked up by its column and row distance from the centre, both
// sides of the centre folded together, and with the axes swapped the
// distance is the same: the table keeps each pair of distances once, larger
// after smaller, and only those within the circle, so its size follows an
// eighth of the area within the circle however far away the centre lies.
// It is filled on the analysis threads.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/WinTypes.h"

namespace tam32 {

class TLensZenith;

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
        // ZenithBand of the zenith: its whole degree 0..90 (EInvalidOp for no
        // number). Inline: the gap count looks up every pixel's band.
        int Band(int X) const {
            const uint8_t B = FOwner->FBands[Cell(X)];
            if (B == kNoNumber) RaiseNoNumber();
            return B;
        }
        // The zenith rounded to a whole degree 0..90 (ERangeError beyond, EInvalidOp for no number).
        int Degree(int X) const;
        // The solid angle weight of GapFraction's sky factor.
        double SkyWeight(int X) const { return FOwner->FSkyWeights[Cell(X)]; }
        // ZenithWeighting of the zenith; kept only while a zenith model is chosen.
        double Weighting(int X) const { return FOwner->FWeightings[Cell(X)]; }

    private:
        friend class TRadialGeometry;
        TRow(const TRadialGeometry& Owner, int64_t J) : FOwner(&Owner), FJ(J) {}
        // Columns at least as far from the centre as the row read the row's
        // own table row, nearer ones the table rows of their distances.
        std::size_t Cell(int X) const {
            const int64_t I = FOwner->Index(int64_t(X) - FOwner->FCentreX);
            return I >= FJ ? FOwner->Cell(I, FJ) : FOwner->Cell(FJ, I);
        }
        const TRadialGeometry* FOwner;
        int64_t FJ;  // the row's distance index
    };
    TRow Row(int Y) const { return TRow(*this, Index(int64_t(Y) - FCentreY)); }

private:
    // Marks of a zenith that has no band or degree: the lookup raises the
    // error that the zenith's own conversion raises.
    static constexpr uint8_t kNoNumber = 255;  // EInvalidOp
    static constexpr uint8_t kBeyond = 254;    // ERangeError
    [[noreturn]] static void RaiseNoNumber();
    static uint8_t BandOf(double Zenith);
    static uint8_t DegreeOf(double Zenith);

    // The distances an axis reaches: indices First..Last of |distance| - FHalf.
    struct TIndexRange {
        int64_t First = 0, Last = -1;
    };
    // Pixel offset K from the centre pixel to the index of |distance| - FHalf.
    int64_t Index(int64_t K) const { return FHalf > 0.0 && K >= 1 ? K - 1 : (K < 0 ? -K : K); }
    // The cell of the larger distance index A with the smaller B.
    std::size_t Cell(int64_t A, int64_t B) const { return std::size_t(FRowOffsets[std::size_t(B - FSmaller.First)] + A); }
    // The indices of the offsets From..To, no farther than the circle reaches.
    TIndexRange Reach(int64_t From, int64_t To) const;
    // The larger indices that table row B holds: from the larger of B and
    // FLarger.First to the last within the circle.
    TIndexRange LargerWithin(int64_t B) const;
    // Allocates and fills the table's Cells cells.
    void Fill(std::size_t Cells);
    // Fills table row B; Radii and Zeniths are room for the row's values.
    void FillRow(const TLensZenith& Lens, int64_t B, std::vector<double>& Radii, std::vector<double>& Zeniths);

    bool FUsable = false;
    int64_t FCentreX = 0, FCentreY = 0;
    double FHalf = 0.0;    // distance of the first pixel from the centre along an axis
    double FReach2 = 0.0;  // square of the circle's radius of zenith 90
    // The smaller and the larger index of the pixels' pairs of distances.
    TIndexRange FSmaller, FLarger;
    // Table row B (one per smaller index) holds larger indices A at cells
    // FRowOffsets[B - FSmaller.First] + A.
    std::vector<int64_t> FRowOffsets;
    // Planes of the cells, each cell written once by the fill.
    std::unique_ptr<double[]> FSkyWeights, FWeightings;
    std::unique_ptr<uint8_t[]> FBands, FDegrees;
};

}  // namespace tam32
