// The tilt estimate from a drawn line and the tilt-corrected photograph.
#include <QRegularExpression>
#include <cmath>
#include <numbers>

#include "analysis/AnalysisFixture.h"
#include "analysis/CorrectionPictures.h"
#include "analysis/corrections/TiltCorrection.h"
#include "analysis/geometry/LensProjection.h"
#include "platform/Bitmap.h"

namespace tam32::test {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

class TiltCorrectionTest : public AnalysisFixture {
protected:
    // An equidistant photograph of radius R about the middle of a picture of
    // 2 R + 1 pixels; Paint gives its colours.
    QString Photograph(int R, const std::function<TRgb(int, int)>& Paint) {
        SetEquidistantCircle(R, R, R);
        return WriteImage(QStringLiteral("sky.bmp"), 2 * R + 1, 2 * R + 1, Paint);
    }

    // Two pixels of a vertical stem at Azimuth (degrees; zeniths 70 and 35)
    // as a camera tilted by TiltY about y, then TiltX about x, sees them:
    // the stem's directions turned back by the tilt's inverse, projected by
    // the equidistant lens and rounded to whole pixels.
    static TTiltLine Stem(double TiltY, double TiltX, double Azimuth) {
        TTiltLine Line;
        const double Zeniths[] = {70.0, 35.0};
        for (int I = 0; I < 2; ++I) {
            const double T = Zeniths[I] * kDeg, P = Azimuth * kDeg, A = -TiltY * kDeg, B = -TiltX * kDeg;
            const double X = std::sin(T) * std::cos(P), Y = std::sin(T) * std::sin(P), Z = std::cos(T);
            const double Y1 = Y * std::cos(B) - Z * std::sin(B), Z1 = Y * std::sin(B) + Z * std::cos(B);
            const double X2 = X * std::cos(A) + Z1 * std::sin(A), Z2 = -X * std::sin(A) + Z1 * std::cos(A);
            const double Radius = CircleRadius() * std::acos(Z2) / kDeg / 90.0, Phi = std::atan2(Y1, X2);
            Line[std::size_t(I)] = {int(std::lround(CircleCentreX() + Radius * std::cos(Phi))),
                                    int(std::lround(CircleCentreY() - Radius * std::sin(Phi)))};
        }
        return Line;
    }
};

TEST_F(TiltCorrectionTest, AStemThroughAKnownTiltEndsOnOneAzimuth) {
    const QString File = Photograph(500, [](int X, int Y) { return TRgb{uint8_t(X), uint8_t(Y), 90}; });
    const QRegularExpression Report(QStringLiteral(R"(^tx:=[ -]?\d+\.\d{3},ty:=[ -]?\d+\.\d{3},t0:=([ \d.]{15})$)"));
    // (tilt about y, about x, stem azimuth), degrees.
    const double Trials[][3] = {{2.19, -3.68, 40.0}, {6.96, 5.05, 200.0}};
    for (const auto& Trial : Trials) {
        SCOPED_TRACE(testing::Message() << "tilt " << Trial[0] << "," << Trial[1]);
        Host.Messages.clear();
        TBitmap Image;
        TTiltLine Drawn;
        ASSERT_FALSE(EstimateTilt(File, Image, Stem(Trial[0], Trial[1], Trial[2]), &Drawn));
        ASSERT_EQ(Host.Messages.size(), 1u);
        const QRegularExpressionMatch Match = Report.match(Host.Messages[0]);
        ASSERT_TRUE(Match.hasMatch()) << Host.Messages[0].toStdString();
        EXPECT_LT(Match.captured(1).trimmed().toDouble(), 1e-4);
        EXPECT_NEAR(PixelAzimuth(Drawn[0].X, Drawn[0].Y), PixelAzimuth(Drawn[1].X, Drawn[1].Y), 0.5);
        EXPECT_EQ(Image.Width(), 1001);
        EXPECT_EQ(AnalysisImage, nullptr);
    }
}

TEST_F(TiltCorrectionTest, ALineWithoutDirectionOrOutsideTheCircleIsRefusedBeforeAnything) {
    const QString File = Photograph(50, [](int, int) { return TRgb{200, 200, 200}; });
    const struct {
        TTiltLine Line;
        bool Circle;
        const char* Why;
        const char* Message;
    } Cases[] = {
        {{TPoint{60, 40}, TPoint{60, 40}}, true, "a click: every pair would cost nothing", "ERR30"},
        {{TPoint{60, 40}, TPoint{100, 100}}, true, "an end beyond the horizon", "ERR30"},
        {{TPoint{-5, 50}, TPoint{60, 40}}, true, "a start off the picture", "ERR30"},
        {{TPoint{60, 40}, TPoint{70, 20}}, false, "no circle", "ERR10"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Why);
        CircleSet = Case.Circle;
        TBitmap Image;
        Image.SetImage(QImage(5, 5, QImage::Format_BGR888));
        const QImage Before = Image.Image();
        Host.StatusTexts.clear();
        EXPECT_TRUE(EstimateTilt(File, Image, Case.Line));
        EXPECT_TRUE(Host.Messages.empty());
        EXPECT_EQ(Host.StatusTexts, std::vector<QString>{QLatin1String(Case.Message)});
        EXPECT_EQ(Image.Image(), Before);
    }
}

TEST_F(TiltCorrectionTest, NoTiltShowsThePhotographAsItIsInsideItsCircleOnly) {
    const std::vector<TRgb> Noise = NoisePixels(81, 81, 4711);
    const QString File = Photograph(40, [&](int X, int Y) { return Noise[std::size_t(Y) * 81 + X]; });
    TBitmap Image;
    ASSERT_FALSE(ViewTiltCorrectedImage(File, Image, 0.0, 0.0, 0.0));
    for (int Y = 0; Y < 81; ++Y)
        for (int X = 0; X < 81; ++X) {
            const TRgb Expected = InCircle(X, Y) ? Noise[std::size_t(Y) * 81 + X] : TRgb{};
            ASSERT_TRUE(SameRgb(PixelOf(Image.Image(), X, Y), Expected)) << X << "," << Y;
        }
    CircleSet = false;
    EXPECT_TRUE(ViewTiltCorrectedImage(File, Image, 1.0, 2.0, 0.0));
}

TEST_F(TiltCorrectionTest, AzimuthsDifferTheShortWayRound) {
    const struct {
        double A1, A2, Difference;
    } Cases[] = {{359.0, 1.0, 2.0}, {1.0, 359.0, 2.0}, {10.0, 190.0, 180.0}, {90.0, 45.0, 45.0}};
    for (const auto& Case : Cases) {
        SCOPED_TRACE(testing::Message() << Case.A1 << " and " << Case.A2);
        EXPECT_NEAR(AzimuthDifference(Case.A1 * kDeg, Case.A2 * kDeg), Case.Difference * kDeg, 1e-12);
    }
}

TEST_F(TiltCorrectionTest, TurnsGoAboutYThenXAndAzimuthsStayWithinATurn) {
    // Straight down the -y axis: 270 degrees, not -90.
    EXPECT_NEAR(RotatedAzimuth(0.0, -1.0, 0.0, 0.0, 0.0), 270.0 * kDeg, 1e-12);
    // Turning +x by 90 degrees about y gives -z; then about x by 90
    // degrees, -z goes to +y.
    EXPECT_NEAR(RotatedAzimuth(1.0, 0.0, 0.0, 90.0 * kDeg, 90.0 * kDeg), 90.0 * kDeg, 1e-12);
    // A direction 30 degrees from the zenith toward +x, turned back by 30
    // degrees about y, is the zenith: the centre of the circle.
    SetEquidistantCircle(100, 100, 100);
    double X, Y;
    RotatedPosition(X, Y, std::sin(30.0 * kDeg), 0.0, std::cos(30.0 * kDeg), 0.0, -30.0 * kDeg);
    EXPECT_NEAR(X, 100.5, 1e-4);
    EXPECT_NEAR(Y, 100.5, 1e-4);
}

}  // namespace
}  // namespace tam32::test
