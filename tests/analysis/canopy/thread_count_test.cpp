// The pixel passes give the results of one thread whatever the thread count,
// and those of the single pass over the pixels that came before them.
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <functional>
#include <random>

#include "analysis/AnalysisFixture.h"
#include "analysis/canopy/GapFraction.h"
#include "analysis/sun/PAREstimate.h"
#include "platform/Bitmap.h"

namespace tam32::test {
namespace {

const QString kCoolpix = QStringLiteral(TAM32_SHARED_DATA_DIR "/fisheye-coolpix5700-fce9.jpg");

// Everything a gap fraction run publishes, and what it shows.
struct TRunResults {
    std::vector<double> Counts;
    double Sky = 0.0;
    int32_t Last = 0;
    std::vector<QString> Status, Memo;
    QImage Picture;
    bool operator==(const TRunResults&) const = default;
};

class ThreadCountTest : public AnalysisFixture {
protected:
    TRunResults Run(const std::function<bool(TBitmap&)>& Routine, const std::function<void()>& Setup, int Threads) {
        PrepareRun(Setup, Threads);
        TBitmap Picture;
        EXPECT_FALSE(Routine(Picture));
        TRunResults R;
        for (const auto& Row : RingCounts) R.Counts.insert(R.Counts.end(), Row.begin(), Row.end());
        for (const auto& Row : ZenithCounts) R.Counts.insert(R.Counts.end(), Row.begin(), Row.end());
        for (const auto& Row : RingColorSums) R.Counts.insert(R.Counts.end(), Row.begin(), Row.end());
        for (const auto& Row : ZenithColorSums) R.Counts.insert(R.Counts.end(), Row.begin(), Row.end());
        for (const auto& Row : ZenithColorMax) R.Counts.insert(R.Counts.end(), Row.begin(), Row.end());
        R.Sky = SkyFactor;
        R.Last = LastThreshold;
        R.Status = Host.StatusTexts;
        R.Memo = Host.ResultLines;
        R.Picture = Picture.Empty() ? QImage() : Picture.Image();
        return R;
    }
};

// A circle as the window's tools set it: bright pixels are the target.
void SetCircle(int X, int Y, int R) {
    CircleSet = true;
    CircleX = X;
    CircleY = Y;
    CircleR = R;
    CircleCenterOffset = 0.0;
    ThresholdCondition = 0;
}

void PhotoCircle() { SetCircle(1276, 980, 756); }

TEST_F(ThreadCountTest, ThePhotographsGapFractionIsTheSinglePassOnesForEveryThreadCount) {
    if (!QFile::exists(kCoolpix)) GTEST_SKIP() << "shared photographs not present: " << kCoolpix.toStdString();
    const TPlugins Plugins;
    // Counts, sky factor and threshold of the pixel-by-pixel pass of the
    // commit before the passes went on threads (tam32-probe run
    // GapFractionAnalysis with --circle 1276,980,756 and the settings named).
    struct TCase {
        const char* Name;
        std::function<void()> Settings;
        std::array<double, 6> All, Gap;
        double Sky;
        int32_t Last;
    };
    const TCase Cases[] = {
        {"intermeans", [] {}, {54804, 161208, 258784, 343648, 414544, 468748},
         {431, 31636, 46671, 25751, 42637, 40553}, 12.672955835072964, 76},
        {"intermeans on the threshold line", [] { ZenithThresholdType = 1; },
         {54804, 161208, 258784, 343648, 414544, 468748}, {655, 36989, 52477, 28935, 43441, 39440},
         14.140951830738995, 81},
        {"azimuth mask",
         [] {
             AzimuthMaskUse = true;
             AzimuthMaskFrom = 30;
             AzimuthMaskTo = 120;
             NorthForAnalysis = 20;
         },
         {41103, 120906, 194088, 257736, 310908, 351561}, {431, 30923, 44297, 21060, 29798, 30949},
         11.315295652349624, 76},
        {"slope and threshold line",
         [] {
             SlopeCorrection = true;
             SlopeInclination = 10;
             ZenithThresholdType = 1;
         },
         {54872, 161364, 259170, 344574, 415656, 364124}, {3638, 44948, 35932, 32242, 41865, 30327},
         13.638838491593711, 85},
        // On more threads counted while the photograph decodes.
        {"fixed threshold",
         [] {
             ThresholdMethod = 2;
             FixedThreshold = 150;
         },
         {54804, 161208, 258784, 343648, 414544, 468748}, {20, 18792, 26731, 9891, 17453, 18098}, 6.568275654684166,
         150},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        const auto Setup = [&C] {
            PhotoCircle();
            C.Settings();
        };
        const auto Gap = [](TBitmap& Picture) {
            return GapFractionAnalysis(kCoolpix, Picture, {0, 0, 1 << 20, 1 << 20});
        };
        const TRunResults One = Run(Gap, Setup, 1);
        for (int K = 0; K < 6; ++K) {
            EXPECT_EQ(RingCounts[0][K], C.All[std::size_t(K)]) << K;
            EXPECT_EQ(RingCounts[1][K], C.Gap[std::size_t(K)]) << K;
        }
        // Blocks of rows sum the sky weights in another order.
        EXPECT_NEAR(One.Sky, C.Sky, 1e-12 * C.Sky);
        EXPECT_EQ(One.Last, C.Last);
        for (int Threads : {3, 8}) {
            SCOPED_TRACE(Threads);
            EXPECT_TRUE(Run(Gap, Setup, Threads) == One);
        }
    }
}

TEST_F(ThreadCountTest, TheYearsPAREstimateIsTheSameForEveryThreadCount) {
    if (!QFile::exists(kCoolpix)) GTEST_SKIP() << "shared photographs not present: " << kCoolpix.toStdString();
    const TPlugins Plugins;
    for (int Model : {0, 2}) {
        SCOPED_TRACE(Model);
        const auto Setup = [Model] {
            PhotoCircle();
            PARPeriod = 3;
            ZenithThresholdType = Model;
        };
        const auto PAR = [](TBitmap& Picture) { return PAREstimate(kCoolpix, Picture, {0, 0, 1 << 20, 1 << 20}); };
        // The chart's course below the canopy, day by day.
        const auto Below = [this] {
            std::vector<double> Values;
            for (const auto& Point : Host.Charts.back().Series[1].Points) Values.push_back(Point.Y);
            return Values;
        };
        const TRunResults One = Run(PAR, Setup, 1);
        ASSERT_EQ(Host.Charts.size(), 1u);
        const std::vector<double> Days = Below();
        EXPECT_EQ(Days.size(), 366u);
        for (int Threads : {2, 8}) {
            SCOPED_TRACE(Threads);
            EXPECT_TRUE(Run(PAR, Setup, Threads) == One);
            ASSERT_EQ(Host.Charts.size(), 1u);
            EXPECT_EQ(Below(), Days);
        }
    }
}

TEST_F(ThreadCountTest, AJpegCutInItsLastRowsFailsThoughItsRowsWereCountedWhileItDecoded) {
    const TPlugins Plugins;
    QImage Photo(320, 240, QImage::Format_RGB888);
    for (int Y = 0; Y < Photo.height(); ++Y)
        for (int X = 0; X < Photo.width(); ++X) Photo.setPixelColor(X, Y, QColor(X % 256, Y, (X * Y) % 256));
    QByteArray Jpeg;
    QBuffer Buffer(&Jpeg);
    ASSERT_TRUE(Buffer.open(QIODevice::WriteOnly) && Photo.save(&Buffer, "JPG"));
    // The last bytes of the last row's data go; only the end marker stays.
    const QString Cut = Write(QStringLiteral("cut.jpg"), Jpeg.left(Jpeg.size() - 5) + "\xFF\xD9");
    for (int Threads : {1, 8}) {
        SCOPED_TRACE(Threads);
        PrepareRun(
            [] {
                SetCircle(160, 120, 110);
                ThresholdMethod = 2;
                FixedThreshold = 100;
            },
            Threads);
        SkyFactor = -1.0;
        TBitmap Picture;
        EXPECT_TRUE(GapFractionAnalysis(Cut, Picture, {0, 0, 1 << 20, 1 << 20}));
        EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR14"));
        EXPECT_EQ(SkyFactor, -1.0);  // nothing published
        EXPECT_TRUE(Picture.Empty());
    }
}

}  // namespace
}  // namespace tam32::test
