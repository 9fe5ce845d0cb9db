#pragma once
// The zenith and the sky weight of the pixels of the image circle, computed
// once for each distance from the centre instead of once per pixel. With the
// centre in a pixel's middle or on its corner the pixels lie symmetrically
// around it, so a pixel is looked up by its column and row distance from
// the centre. The table spans only the distances that the area reaches
// within the circle (both sides folded together where the area straddles the
// centre), so its size follows the area however far away the centre lies.
#include <cstddef>
#include <cstdint>
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

    struct TSample {
        double Zenith;
        double SkyWeight;
    };
    // The sample of pixel (X, Y) of the area within the circle.
    const TSample& At(int X, int Y) const { return FSamples[Cell(X, Y)]; }
    // ZenithWeighting of that zenith; kept only while a zenith model is chosen.
    double Weighting(int X, int Y) const { return FWeightings[Cell(X, Y)]; }

private:
    // The distances an axis reaches: indices First..Last of |distance| - FHalf.
    struct TIndexRange {
        int64_t First = 0, Last = -1;
        std::size_t Count() const { return Last >= First ? std::size_t(Last - First + 1) : 0; }
    };
    // Pixel offset K from the centre pixel to the index of |distance| - FHalf.
    int64_t Index(int64_t K) const { return FHalf > 0.0 && K >= 1 ? K - 1 : (K < 0 ? -K : K); }
    // The indices of the offsets From..To, no farther than the circle reaches.
    TIndexRange Reach(int64_t From, int64_t To) const;
    std::size_t Cell(int X, int Y) const {
        return std::size_t(Index(int64_t(Y) - FCentreY) - FRows.First) * FColumns.Count() +
               std::size_t(Index(int64_t(X) - FCentreX) - FColumns.First);
    }
    void Fill();

    bool FUsable = false;
    int64_t FCentreX = 0, FCentreY = 0;
    double FHalf = 0.0;    // distance of the first pixel from the centre along an axis
    double FReach2 = 0.0;  // square of the circle's radius of zenith 90
    TIndexRange FColumns, FRows;
    // Row by row; within a row only the columns inside the circle are filled.
    std::vector<TSample> FSamples;
    std::vector<double> FWeightings;
};

}  // namespace tam32
