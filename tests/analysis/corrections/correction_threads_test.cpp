// The corrections and the spatial filter work their output rows in blocks on
// the analysis threads: the pictures and the row counter are those of one
// thread whatever the thread count, and a filter's blocks read the source
// rows on either side of them.
#include <QFile>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <functional>

#include "analysis/AnalysisFixture.h"
#include "analysis/CorrectionPictures.h"
#include "analysis/core/RowBlocks.h"
#include "analysis/corrections/BasalAreaPanorama.h"
#include "analysis/corrections/FilterKernel.h"
#include "analysis/corrections/GcpCorrection.h"
#include "analysis/corrections/HemiImageCorrection.h"
#include "analysis/corrections/SpatialFilter.h"
#include "analysis/corrections/TiltCorrection.h"
#include "analysis/geometry/DistortionCorrection.h"
#include "platform/Bitmap.h"

namespace tam32::test {
namespace {

// What a run leaves: the file written, the window picture, the status lines.
struct TRunOutput {
    QByteArray File;
    QImage Picture;
    std::vector<QString> Status;
    bool operator==(const TRunOutput&) const = default;
};

class CorrectionThreadsTest : public AnalysisFixture {
protected:
    QString Noise(int W, int H) {
        const std::vector<TRgb> Pixels = NoisePixels(W, H, 5);
        return WriteImage(QStringLiteral("noise.bmp"), W, H,
                          [&](int X, int Y) { return Pixels[std::size_t(Y) * std::size_t(W) + std::size_t(X)]; });
    }
    QString Out() const { return Folder.filePath(QStringLiteral("out.bmp")); }

    // Routine returns whether it did its work.
    TRunOutput Run(const std::function<bool(TBitmap&)>& Routine, const std::function<void()>& Setup, int Threads) {
        PrepareRun(Setup, Threads);
        QFile::remove(Out());
        TBitmap Picture;
        EXPECT_TRUE(Routine(Picture));
        TRunOutput R;
        if (QFile File(Out()); File.open(QIODevice::ReadOnly)) R.File = File.readAll();
        R.Picture = Picture.Empty() ? QImage() : Picture.Image();
        R.Status = Host.StatusTexts;
        return R;
    }
};

void MaskedSlopedCircle() {
    SetEquidistantCircle(30, 44, 29);
    NorthForAnalysis = 25.0;
    SlopeCorrection = true;
    SlopeInclination = 15.0;
    SlopeAzimuth = 120.0;
    AzimuthMaskUse = true;
    AzimuthMaskFrom = 40;
    AzimuthMaskTo = 200;
}

TEST_F(CorrectionThreadsTest, EveryThreadCountGivesTheOneThreadsPicturesAndRowCounter) {
    const TGcpModel Quadratic{{{{3.2, 0.93, 0.11, 2e-3, -1e-3}, {-2.5, -0.08, 1.04, 1e-3, 2e-3}}}, 57, 71, 0.9, -2.0, 1.5,
                              true};
    struct TCase {
        const char* Name;
        int W, H;
        std::function<void()> Setup;
        std::function<bool(const QString& Source, const QString& Out, TBitmap&)> Routine;
    };
    const TCase Cases[] = {
        {"distortion correction", 61, 83, [] { DistortParameter = 20.0; },
         [](const QString& Source, const QString& Out, TBitmap&) { return !MakeCLDFile(Source, Out); }},
        {"north-up and slope correction under an azimuth mask", 61, 89, MaskedSlopedCircle,
         [](const QString& Source, const QString& Out, TBitmap&) { return CorrectHemiImageFile(Source, Out); }},
        {"tilt correction", 61, 89, MaskedSlopedCircle,
         [](const QString& Source, const QString&, TBitmap& Picture) {
             return !ViewTiltCorrectedImage(Source, Picture, 4.0, -3.0, 10.0);
         }},
        {"panorama", 61, 89, [] { SetEquidistantCircle(30, 44, 29); },
         [](const QString& Source, const QString&, TBitmap& Picture) { return !BAMeasurement(Source, Picture); }},
        {"control points", 61, 83, [] {},
         [&Quadratic](const QString& Source, const QString& Out, TBitmap&) {
             return GcpCorrectImageFile(Source, Out, Quadratic);
         }},
        {"5 x 5 filter", 61, 83, [] { StoreFilterKernel({5, std::vector<int32_t>(25, 1), 25}); },
         [](const QString& Source, const QString& Out, TBitmap&) { return !FilterImageFile(Source, Out); }},
        {"31 x 31 filter of a one-pixel-wide picture", 1, 70,
         [] { StoreFilterKernel({31, std::vector<int32_t>(961, 3), 40}); },
         [](const QString& Source, const QString& Out, TBitmap&) { return !FilterImageFile(Source, Out); }},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        const QString Source = Noise(C.W, C.H);
        const auto Routine = [&](TBitmap& Picture) { return C.Routine(Source, Out(), Picture); };
        const TRunOutput One = Run(Routine, C.Setup, 1);
        EXPECT_FALSE(One.File.isEmpty() && One.Picture.isNull());
        for (int Threads : {3, 8}) {
            SCOPED_TRACE(Threads);
            EXPECT_TRUE(Run(Routine, C.Setup, Threads) == One);
        }
    }
}

// The filter's sum at (X, Y) taken pixel by pixel, divided as the filter
// divides (halves to even), held to 0..255.
uint8_t DirectFilter(const std::vector<TRgb>& Pixels, int W, int H, const TFilterKernel& Kernel, int X, int Y,
                     uint8_t TRgb::*Channel) {
    const int Half = Kernel.Size / 2;
    int64_t Sum = 0;
    for (int J = 0; J < Kernel.Size; ++J)
        for (int I = 0; I < Kernel.Size; ++I) {
            const int Sx = X + I - Half, Sy = Y + J - Half;
            if (Sx < 0 || Sy < 0 || Sx >= W || Sy >= H) continue;
            const TRgb& P = Pixels[std::size_t(Sy) * std::size_t(W) + std::size_t(Sx)];
            Sum += int64_t(Kernel.Weight(I, J)) * (P.*Channel);
        }
    return uint8_t(std::clamp(std::nearbyint(double(Sum) / Kernel.Divisor), 0.0, 255.0));
}

TEST_F(CorrectionThreadsTest, FilteredRowsNearTheEdgesOfTheirBlocksEqualTheDirectSum) {
    constexpr int W = 23, H = 70;  // blocks of 16 rows and a short last one
    const std::vector<TRgb> Pixels = NoisePixels(W, H, 9);
    const QString Source = WriteImage(QStringLiteral("noise.bmp"), W, H, [&](int X, int Y) {
        return Pixels[std::size_t(Y) * W + std::size_t(X)];
    });
    for (const int Size : {3, 17, 31}) {
        SCOPED_TRACE(Size);
        TFilterKernel Kernel{Size, {}, 2 * Size - 1};
        for (int K = 0; K < Size * Size; ++K) Kernel.Weights.push_back(K * 7 % 5 - 2);
        StoreFilterKernel(Kernel);
        SetAnalysisThreads(3);
        ASSERT_FALSE(FilterImageFile(Source, Out()));
        const QImage Written(Out());
        ASSERT_EQ(Written.size(), QSize(W, H));
        for (int Y = 0; Y < H; ++Y)
            for (int X = 0; X < W; ++X) {
                const TRgb Direct{DirectFilter(Pixels, W, H, Kernel, X, Y, &TRgb::R),
                                  DirectFilter(Pixels, W, H, Kernel, X, Y, &TRgb::G),
                                  DirectFilter(Pixels, W, H, Kernel, X, Y, &TRgb::B)};
                ASSERT_TRUE(SameRgb(PixelOf(Written, X, Y), Direct)) << X << "," << Y;
            }
    }
}

}  // namespace
}  // namespace tam32::test
