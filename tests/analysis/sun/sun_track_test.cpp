// The sun's projection onto the photograph and the day, month and year tracks.
#include <gtest/gtest.h>

#include <QImage>
#include <climits>
#include <cmath>
#include <numbers>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "analysis/RecordingEngineHost.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/sun/SolarPosition.h"
#include "analysis/sun/SunProjection.h"
#include "analysis/sun/SunTrack.h"
#include "platform/Bitmap.h"

namespace tam32 {
namespace {

using TPixels = std::set<std::pair<int, int>>;

class SunTrackTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettingsToDefaults(QDate(2024, 6, 21));
        ResetAnalysisState();
        CircleSet = true;
        CircleX = CircleY = 200;
        CircleR = 200;
        LensType = 0;
        MaxViewAngle = 90.0;
        NorthForAnalysis = 90.0;
        Black(401, 401);
    }
    void Black(int W, int H) {
        QImage Image(W, H, QImage::Format_BGR888);
        Image.fill(Qt::black);
        Picture.SetImage(Image);
    }
    TPixels Blue() const {
        TPixels Pixels;
        const QImage& Image = Picture.Image();
        for (int Y = 0; Y < Image.height(); ++Y)
            for (int X = 0; X < Image.width(); ++X)
                if (Image.pixel(X, Y) == qRgb(0, 0, 255)) Pixels.insert({X, Y});
                else EXPECT_EQ(Image.pixel(X, Y), qRgb(0, 0, 0));
        return Pixels;
    }
    // The projected sun pixels of the target day, minute by minute.
    std::vector<std::pair<int, int>> Projected() {
        SetSiteLatitude(LatitudeH, LatitudeM, LatitudeS);
        SetSiteLongitude(LongitudeH, LongitudeM, LongitudeS);
        EXPECT_TRUE(SetSolarDate(TargetYear, TargetMonth, TargetDay));
        std::vector<std::pair<int, int>> Points;
        const TSunOnImage OnImage;
        for (int Minute = 0; Minute < 1440; ++Minute) {
            double Azimuth, Altitude;
            SunPosition(Minute / 60, Minute % 60, 0, Azimuth, Altitude);
            const double Angle = Azimuth * std::numbers::pi / 180.0;
            int X, Y;
            if (Altitude >= 0 && OnImage.Pixel({Altitude, std::cos(Angle), std::sin(Angle)}, X, Y))
                Points.push_back({X, Y});
        }
        return Points;
    }

    test::TRecordingEngineHost Host;
    TBitmap Picture;
};

TEST_F(SunTrackTest, ProjectionFollowsTheLensAndTheNorthAngle) {
    // The pixel of a sun at Altitude whose direction has components North and East.
    const auto PixelOf = [](double Altitude, double North, double East) {
        int X = -5, Y = -5;
        const bool OnPicture = TSunOnImage().Pixel({Altitude, North, East}, X, Y);
        return std::make_tuple(OnPicture, X, Y);
    };
    // North up: east lies to the left, as seen looking up; the components need not be of unit length.
    EXPECT_EQ(PixelOf(45.0, 1.0, 0.0), std::make_tuple(true, 200, 100));
    EXPECT_EQ(PixelOf(0.0, 0.0, 0.7), std::make_tuple(true, 0, 200));
    EXPECT_EQ(PixelOf(90.0, 0.0, 0.0), std::make_tuple(true, 200, 200));
    // North at 300 degrees: azimuth 60 lies at 360 on the image.
    NorthForAnalysis = 300.0;
    EXPECT_EQ(PixelOf(0.0, 0.5, std::sqrt(0.75)), std::make_tuple(true, 400, 200));
    // A normal lens throws the horizon to infinity: no pixel.
    LensType = 7;
    EXPECT_EQ(PixelOf(0.0, 1.0, 0.0), std::make_tuple(false, -5, -5));
}

TEST_F(SunTrackTest, MinutesLeftOutAtNightAreNight) {
    // Sites from the equator to beyond the polar circle, both hemispheres,
    // zones far from the longitude's own, every season.
    const int Latitudes[] = {0, 35, -35, 60, -67, 80};
    const int Longitudes[] = {139, -75, 0, 170, -150, 20};
    for (int Site = 0; Site < 6; ++Site)
        for (const int Month : {1, 3, 6, 9, 12}) {
            SetSiteLatitude(Latitudes[Site], 0, 0);
            SetSiteLongitude(Longitudes[Site], 0, 0);
            TimeZone = Site % 2 ? -5.0 : 9.0;
            ASSERT_TRUE(SetSolarDate(2024, Month, 21));
            const TSolarDay Day;  // the series the minutes follow
            TSunMinutes Minutes;
            for (int Minute = 0; Minute < 1440; ++Minute) {
                const TSunPlace Place = Day.Place(Minute / 60, Minute % 60, 0);
                TSunPlace Sun;
                const bool Up = Minutes.Up(Minute / 60, Minute % 60, Sun);
                ASSERT_EQ(Up, Place.Altitude >= 0.0) << Site << " " << Month << " " << Minute;
                if (Up) {
                    EXPECT_EQ(std::make_pair(Sun.Azimuth(), Sun.Altitude),
                              std::make_pair(Place.Azimuth(), Place.Altitude));
                }
            }
        }
}

TEST_F(SunTrackTest, DayTrackJoinsTheProjectedPositions) {
    PARPeriod = 0;
    DrawSunTrackOnImage(Picture);
    const TPixels Drawn = Blue();
    const std::vector<std::pair<int, int>> Points = Projected();
    ASSERT_GT(Points.size(), 600u);
    // Every position but the day's last starts a segment and is drawn.
    for (size_t I = 0; I + 1 < Points.size(); ++I) {
        if (Points[I] != Points.back()) {
            EXPECT_TRUE(Drawn.contains(Points[I])) << Points[I].first << "," << Points[I].second;
        }
    }
    // Every drawn pixel lies next to the path of positions.
    for (const auto& [X, Y] : Drawn) {
        double Nearest = 1e9;
        for (const auto& [Px, Py] : Points) Nearest = std::min(Nearest, std::hypot(X - Px, Y - Py));
        EXPECT_LE(Nearest, 2.0);
    }
}

TEST_F(SunTrackTest, MidnightSunIsOneLineAndPolarNightNone) {
    LatitudeH = 80;
    LatitudeM = LatitudeS = 0;
    PARPeriod = 0;
    DrawSunTrackOnImage(Picture);
    TPixels Drawn = Blue();
    ASSERT_FALSE(Drawn.empty());
    // One 8-connected line.
    TPixels Seen{*Drawn.begin()};
    std::vector<std::pair<int, int>> Open{*Drawn.begin()};
    while (!Open.empty()) {
        const auto [X, Y] = Open.back();
        Open.pop_back();
        for (int Dy = -1; Dy <= 1; ++Dy)
            for (int Dx = -1; Dx <= 1; ++Dx)
                if (Drawn.contains({X + Dx, Y + Dy}) && Seen.insert({X + Dx, Y + Dy}).second) Open.push_back({X + Dx, Y + Dy});
    }
    EXPECT_EQ(Seen.size(), Drawn.size());

    Black(401, 401);
    TargetMonth = 12;
    TargetDay = 21;
    DrawSunTrackOnImage(Picture);
    EXPECT_TRUE(Blue().empty());
}

TEST_F(SunTrackTest, PeriodsDrawTheirDays) {
    PARPeriod = 1;
    TargetMonth = 3;
    DrawSunTrackOnImage(Picture);
    EXPECT_EQ(Host.StatusTexts.size(), 31u);
    EXPECT_EQ(Host.StatusTexts.back(), QStringLiteral("2024/ 3/31"));
    const size_t Month = Blue().size();

    Host.StatusTexts.clear();
    PARPeriod = 3;
    TargetYear = 2023;
    DrawSunTrackOnImage(Picture);
    EXPECT_EQ(Host.StatusTexts.size(), 365u);
    EXPECT_GT(Blue().size(), 2 * Month);

    // The mean periods have no track.
    for (const int Period : {2, 4, -1}) {
        Black(401, 401);
        PARPeriod = Period;
        DrawSunTrackOnImage(Picture);
        EXPECT_TRUE(Blue().empty());
    }
}

TEST_F(SunTrackTest, MissingLeapDayIsTheTwentyEighth) {
    PARPeriod = 0;
    TargetYear = 2023;
    TargetMonth = 2;
    TargetDay = 28;
    DrawSunTrackOnImage(Picture);
    const TPixels Feb28 = Blue();
    Black(401, 401);
    TargetDay = 29;
    DrawSunTrackOnImage(Picture);
    EXPECT_EQ(TargetDay, 28);
    EXPECT_EQ(Blue(), Feb28);
    // No such day: nothing drawn.
    Black(401, 401);
    TargetMonth = 4;
    TargetDay = 31;
    DrawSunTrackOnImage(Picture);
    EXPECT_TRUE(Blue().empty());
}

TEST_F(SunTrackTest, TracksStayInsideAPictureThatCutsTheCircle) {
    Black(401, 150);  // the northern part of the circle only
    PARPeriod = 3;
    DrawSunTrackOnImage(Picture);
    EXPECT_EQ(Picture.Width(), 401);
    EXPECT_EQ(Picture.Height(), 150);
    EXPECT_FALSE(Blue().empty());
    // Even a lens that throws the horizon far beyond the picture.
    LensType = 7;
    MaxViewAngle = 40.0;
    PARPeriod = 0;
    DrawSunTrackOnImage(Picture);
}

}  // namespace
}  // namespace tam32
