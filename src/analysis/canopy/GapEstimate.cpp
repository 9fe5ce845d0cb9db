#include "analysis/canopy/GapEstimate.h"

#include <cmath>

namespace tam32 {
namespace {

// Half the diagonal of the 35-mm frame, in mm.
constexpr double kHalfFrameDiagonal = 21.5;

std::optional<TGapDistance> GapDistance(float Size1, float Size2, const TGapPhotograph& Photo1,
                                        const TGapPhotograph& Photo2, float Base, float FocalLength) {
    const bool FirstLarger = Size1 > Size2;
    const double Larger = FirstLarger ? Size1 : Size2, Smaller = FirstLarger ? Size2 : Size1;
    const TGapPhotograph& Nearer = FirstLarger ? Photo1 : Photo2;
    const double W = Nearer.Width, H = Nearer.Height;
    if (!(Smaller > 0.0) || !(Larger > Smaller) || !(FocalLength > 0.0f) || !(W > 0.0) || !(H > 0.0))
        return std::nullopt;
    const double Distance = Base / (std::sqrt(Larger / Smaller) - 1.0);
    const double Aspect = H / W, Lens = kHalfFrameDiagonal / FocalLength;
    const double RealArea = 4.0 * Distance * Distance * Aspect * Lens * Lens * (Larger / (W * H)) / (1.0 + Aspect * Aspect);
    return TGapDistance{float(Distance), float(RealArea)};
}

}  // namespace

TGapEstimate EstimateGap(const TGapPhotograph& Photo1, const TGapPhotograph& Photo2, float Base, float FocalLength) {
    return {Photo1, Photo2, GapDistance(Photo1.Area, Photo2.Area, Photo1, Photo2, Base, FocalLength),
            GapDistance(Photo1.OutlineArea, Photo2.OutlineArea, Photo1, Photo2, Base, FocalLength)};
}

}  // namespace tam32
