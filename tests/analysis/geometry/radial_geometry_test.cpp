#include <gtest/gtest.h>

#include <cmath>

#include "analysis/canopy/GapFraction.h"
#include "analysis/canopy/GapFractionPixels.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/geometry/AnalysisArea.h"
#include "analysis/geometry/LensProjection.h"
#include "analysis/geometry/RadialGeometry.h"
#include "analysis/geometry/TargetPixels.h"
#include "platform/Rounding.h"

namespace tam32 {
namespace {

// The table must give every pixel of an area exactly what the pixel's own
// zenith gives, whichever side of the centre the area lies and whether the
// centre is a pixel's middle or corner.
TEST(RadialGeometryTest, EveryPixelOfAnyAreaGetsTheValuesOfItsOwnZenith) {
    const TRect Areas[] = {Rect(0, 0, 239, 179), Rect(130, 20, 170, 70), Rect(20, 90, 95, 150),
                           Rect(0, 80, 239, 80),  Rect(101, 0, 101, 179), Rect(60, 30, 140, 75)};
    for (const double Offset : {0.0, 0.5})
        for (int Lens = 0; Lens <= 7; ++Lens)
            for (const int ZenithModel : {0, 1})
                for (const TRect& Area : Areas) {
                    ResetSettingsToDefaults(QDate(2024, 6, 21));
                    CircleSet = true;
                    CircleX = 100;
                    CircleY = 80;
                    CircleR = 60;
                    CircleCenterOffset = Offset;
                    LensType = Lens;
                    ZenithThresholdType = ZenithModel;
                    HorizonRadius2 = std::pow(ZenithToRadius(90.0), 2);
                    SCOPED_TRACE(testing::Message() << "offset " << Offset << ", lens " << Lens << ", model "
                                                    << ZenithModel << ", area " << Area.Left << "," << Area.Top);
                    const TRadialGeometry Table(Area);
                    ASSERT_TRUE(Table.Usable());
                    int Pixels = 0, Wrong = 0;
                    for (int Y = Area.Top; Y <= Area.Bottom; ++Y) {
                        const TColumnSpan Span = CircleRowSpan(Y, Area);
                        if (Span.First > Span.Last) continue;
                        const TRadialGeometry::TRow Row = Table.Row(Y);
                        for (int X = Span.First; X <= Span.Last; ++X, ++Pixels) {
                            const double Dx = X - CircleCentreX(), Dy = Y - CircleCentreY();
                            const double Zenith = PixelZenith(X, Y);
                            const bool Same =
                                Row.Band(X) == ZenithBand(Zenith) && Row.Degree(X) == Round(Zenith) &&
                                Row.SkyWeight(X) == SkyWeight(std::sqrt(Dx * Dx + Dy * Dy), Zenith) &&
                                (ZenithModel == 0 || Row.Weighting(X) == ZenithWeighting(Zenith));
                            Wrong += Same ? 0 : 1;
                        }
                    }
                    EXPECT_GT(Pixels, 0);
                    EXPECT_EQ(Wrong, 0);
                }
}

}  // namespace
}  // namespace tam32
