// The object, colour-search, circle, binarizing and brightness passes work
// their rows in blocks on the analysis threads: what they report, publish
// and paint is that of one thread whatever the thread count.
#include <QImage>
#include <functional>

#include "analysis/AnalysisFixture.h"
#include "analysis/CorrectionPictures.h"
#include "analysis/SyntheticMasks.h"
#include "analysis/colour/ColourAnalyses.h"
#include "analysis/geometry/CircleDetection.h"
#include "analysis/geometry/LightLevel.h"
#include "analysis/objects/Labelling.h"
#include "analysis/objects/SkeletonLength.h"
#include "common/gui_app_env.h"
#include "platform/Bitmap.h"
#include "platform/DelphiFormat.h"

namespace tam32::test {
namespace {

// What a run leaves: the window picture, the memo and status lines, and the
// published values.
struct TRunOutput {
    QImage Picture;
    std::vector<QString> Memo, Status;
    QString Published;
    bool operator==(const TRunOutput&) const = default;
};

class PassThreadsTest : public AnalysisFixture {
protected:
    void SetUp() override {
        RequireGuiApp();
        AnalysisFixture::SetUp();
    }
    // Noise-shaped white blobs on dark noise, odd-sized, so that blocks
    // end short and objects cross them.
    QString Blobs(int W, int H) {
        const TMask Mask = NoiseMask(W, H, 2, 0.3, 7);
        const std::vector<TRgb> Noise = NoisePixels(W, H, 3);
        return WriteImage(QStringLiteral("blobs.bmp"), W, H, [&](int X, int Y) {
            const TRgb N = Noise[std::size_t(Y) * std::size_t(W) + std::size_t(X)];
            return Mask.At(X, Y) ? TRgb{255, 255, 255} : TRgb{uint8_t(N.R / 2), uint8_t(N.G / 2), uint8_t(N.B / 2)};
        });
    }
    // Routine gets the picture of File shown and says whether it failed.
    TRunOutput Run(const QString& File, const std::function<bool(TBitmap&)>& Routine,
                   const std::function<void()>& Setup, int Threads) {
        PrepareRun(
            [&Setup] {
                ThresholdMethod = 2;  // fixed: white is the target
                FixedThreshold = 128;
                ThresholdCondition = 0;
                ImageDPI = 25.4;
                Setup();
            },
            Threads);
        TBitmap Picture;
        Picture.SetImage(QImage(File));
        Picture.SetPixelFormat(TPixelFormat::pf24bit);
        EXPECT_FALSE(Routine(Picture));
        const QString Published = Format(QStringLiteral("%d %d %d %d %d"),
                                         {LabelledObjectCount, ColorSearchCount, CircleX, CircleY, CircleR});
        return {Picture.Image(), Host.ResultLines, Host.StatusTexts, Published};
    }
};

TEST_F(PassThreadsTest, EveryThreadCountGivesTheOneThreadsResults) {
    const QString Picture = Blobs(101, 83);
    const QString Disc = WriteDisc(QStringLiteral("disc.bmp"), 131, 97, 60.5, 50.5, 33, {200, 200, 200});
    const TRect Whole{0, 0, 1 << 20, 1 << 20}, CutByTheEdge{-7, 9, 200, 61};
    struct TCase {
        const char* Name;
        QString File;
        std::function<bool(TBitmap&)> Routine;
        std::function<void()> Setup;
    };
    const auto Labelling = [&](const TRect& Area) {
        return [&Picture, Area](TBitmap& Image) { return LabellAnalysis(Picture, Image, Area); };
    };
    const auto Measured = [] {
        CalcTraceLengthRatio = true;
        MinLabelledArea = 0;
    };
    const TCase Cases[] = {
        {"labelling", Picture, Labelling(Whole), Measured},
        {"labelling of an area cut by the edge, in a masked circle", Picture, Labelling(CutByTheEdge),
         [&] {
             Measured();
             SetEquidistantCircle(50, 40, 38);
             AzimuthMaskUse = true;
             AzimuthMaskFrom = 30;
             AzimuthMaskTo = 150;
         }},
        {"labelling after the shrink", Picture, Labelling(Whole),
         [&] {
             Measured();
             ShrinkBeforeAnalysis = true;
         }},
        {"skeleton of an area cut by the edge", Picture,
         [&](TBitmap& Image) { return TopoAnalysis(Picture, Image, CutByTheEdge); }, [] {}},
        {"colour search", Picture, [&](TBitmap& Image) { return SearchColors(Picture, Image, CutByTheEdge); },
         [] {
             ColorSearchX = 3;
             ColorSearchY = 5;
             ColorSearchPercent = false;
         }},
        {"circle", Disc, [&](TBitmap&) { return DetectCircleArea(Disc); }, [] {}},
        {"light level", Picture,
         [](TBitmap& Image) {
             ApplyLightLevel(Image, 1.7f, 0.6f, 2.3f);
             return false;
         },
         [] {}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        const TRunOutput One = Run(Case.File, Case.Routine, Case.Setup, 1);
        for (int Threads : {3, 8}) {
            SCOPED_TRACE(Threads);
            EXPECT_TRUE(Run(Case.File, Case.Routine, Case.Setup, Threads) == One);
        }
    }
}

}  // namespace
}  // namespace tam32::test
