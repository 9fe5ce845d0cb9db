#include "analysis/geometry/AreaRowRuns.h"

#include "analysis/core/GlobalSettings.h"
#include "analysis/geometry/LensProjection.h"

namespace tam32 {

const std::vector<TColumnSpan>& TAreaRowRuns::Kept(int Y, const TRect& Area) {
    const std::vector<TColumnSpan>& Masked = FMask.Kept(Y, CircleRowSpan(Y, Area));
    if (!(CircleSet && SlopeCorrection)) return Masked;
    // The horizon of a sloped ground is no line of the picture: pixel by pixel.
    FRuns.clear();
    for (const TColumnSpan& Run : Masked)
        for (int X = Run.First; X <= Run.Last; ++X) {
            if (PixelZenith(X, Y) > 90.0) continue;
            if (!FRuns.empty() && FRuns.back().Last == X - 1)
                FRuns.back().Last = X;
            else
                FRuns.push_back({X, X});
        }
    return FRuns;
}

}  // namespace tam32
