// The analysis core on a 12-megapixel hemispherical photograph (a bright sky
// disc of radius 1480 with dark leaf patches, black outside): the gap
// fraction analysis from a BMP file and from a JPEG through the plug-in host
// (against decoding that JPEG alone), each decoding its file afresh, and the
// circle detection; and a repeated run that reuses the decoding. Targets:
// gap fraction from BMP under 0.25 s, from JPEG at most 0.15 s more than its
// decoding, circle detection under 0.05 s.
#include <benchmark/benchmark.h>

#include <QImage>
#include <cstdio>
#include <cstring>
#include <string>

#include <jpeglib.h>

#include "BenchHemiPhoto.h"
#include "BenchJpeg.h"
#include "BenchPlugins.h"
#include "BenchTempFile.h"
#include "analysis/AnalysisImage.h"
#include "analysis/AnalysisState.h"
#include "analysis/CircleDetection.h"
#include "analysis/DecodedImageCache.h"
#include "analysis/GapFraction.h"
#include "analysis/GlobalSettings.h"
#include "platform/Bitmap.h"

namespace {

using namespace tam32;

using bench::kPhotoHeight;
using bench::kPhotoWidth;

void WriteJpeg(const QImage& Image, const std::string& File) {
    bench::WriteJpegFile(File, kPhotoWidth, kPhotoHeight, [&](int Y, uint8_t* Row) {
        std::memcpy(Row, Image.constScanLine(Y), size_t{3} * kPhotoWidth);
    });
}

// The two files, written once and removed at exit.
struct TFiles {
    std::string Bmp = bench::TempFileName("analysis-bench", ".bmp"), Jpeg = bench::TempFileName("analysis-bench", ".jpg");
    TFiles() {
        const QImage Image = bench::HemisphericalPhoto();
        Image.save(QString::fromStdString(Bmp), "BMP");
        WriteJpeg(Image, Jpeg);
    }
    ~TFiles() {
        std::filesystem::remove(Bmp);
        std::filesystem::remove(Jpeg);
    }
};

const TFiles& Files() {
    static const TFiles Instance;
    return Instance;
}

using bench::TPlugins;

void PrepareGapRun() {
    ResetSettingsToDefaults();
    ResetAnalysisState();
    bench::PublishPhotoCircle();  // blue channel, intermeans, lens type 5
}

// Cold runs decode the file each time; repeated runs reuse the kept decoding.
void RunGap(benchmark::State& State, const std::string& File, bool Cold) {
    const TPlugins Plugins;
    PrepareGapRun();
    TBitmap Picture;
    const QString Name = QString::fromStdString(File);
    for (auto _ : State) {
        if (Cold) ClearDecodedImageCache();
        if (GapFractionAnalysis(Name, Picture, {0, 0, kPhotoWidth - 1, kPhotoHeight - 1})) State.SkipWithError("analysis failed");
        benchmark::DoNotOptimize(SkyFactor);
    }
    ClearDecodedImageCache();
}

void BM_GapFractionFromBmp(benchmark::State& State) { RunGap(State, Files().Bmp, true); }
void BM_GapFractionFromJpeg(benchmark::State& State) { RunGap(State, Files().Jpeg, true); }
void BM_GapFractionRepeatedJpeg(benchmark::State& State) { RunGap(State, Files().Jpeg, false); }

void BM_JpegDecodeAlone(benchmark::State& State) {
    const TPlugins Plugins;
    const QString Name = QString::fromStdString(Files().Jpeg);
    for (auto _ : State) {
        TSPIPxDIB Image;
        Image.LoadFromFile(Name);
        Image.SetPixelFormat(pxPf24Bit);
        benchmark::DoNotOptimize(Image.Width());
    }
}

void BM_DetectCircleArea(benchmark::State& State) {
    const TPlugins Plugins;
    ResetSettingsToDefaults();
    ResetAnalysisState();
    const QString Name = QString::fromStdString(Files().Bmp);
    for (auto _ : State) {
        ClearDecodedImageCache();
        if (DetectCircleArea(Name)) State.SkipWithError("no circle found");
        benchmark::DoNotOptimize(CircleR);
    }
}

BENCHMARK(BM_GapFractionFromBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GapFractionFromJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GapFractionRepeatedJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegDecodeAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectCircleArea)->Unit(benchmark::kMillisecond);

}  // namespace
