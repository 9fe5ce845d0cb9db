#include "analysis/geometry/SeriesRadialGeometry.h"

#include "analysis/core/GlobalSettings.h"
#include "analysis/core/RunSeries.h"
#include "analysis/geometry/RadialGeometry.h"

namespace tam32 {
namespace {

// Everything the geometry is computed from.
struct TGeometryInputs {
    TRect Box;
    int32_t CentreX = 0, CentreY = 0, Radius = 0;
    double CentreOffset = 0.0;
    int32_t Lens = 0;
    double ViewAngle = 0.0;
    bool Slope = false;
    int32_t ZenithModel = 0;
    bool operator==(const TGeometryInputs&) const = default;
};

TGeometryInputs InputsInForce(const TRect& Box) {
    return {Box, CircleX, CircleY, CircleR, CircleCenterOffset, LensType, MaxViewAngle, SlopeCorrection,
            ZenithThresholdType};
}

TGeometryInputs KeptInputs;
std::shared_ptr<const TRadialGeometry> KeptGeometry;

}  // namespace

std::shared_ptr<const TRadialGeometry> SeriesRadialGeometry(const TRect& Box) {
    if (!RunSeriesOpen()) return std::make_shared<const TRadialGeometry>(Box);
    const TGeometryInputs Inputs = InputsInForce(Box);
    if (!KeptGeometry || !(Inputs == KeptInputs)) {
        KeptGeometry = std::make_shared<const TRadialGeometry>(Box);
        KeptInputs = Inputs;
        ReleaseWhenSeriesEnds([] { KeptGeometry.reset(); });
    }
    return KeptGeometry;
}

}  // namespace tam32
