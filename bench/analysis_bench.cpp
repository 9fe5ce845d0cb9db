// The analysis core on a 12-megapixel hemispherical photograph (a bright sky
// disc of radius 1480 with dark leaf patches, black outside): the gap
// fraction analysis from a BMP file and from a JPEG through the plug-in host
// (against decoding that JPEG alone), each decoding its file afresh, and the
// circle detection; and a repeated run that reuses the decoding. Targets:
// gap fraction from BMP under 0.25 s, from JPEG at most 0.15 s more than its
// decoding, circle detection under 0.05 s.
#include <benchmark/benchmark.h>

#include <QImage>
#include <cstring>
#include <filesystem>
#include <string>

#include "BenchHemiPhoto.h"
#include "BenchJpeg.h"
#include "BenchPlugins.h"
#include "BenchTempFile.h"
#include "analysis/canopy/GapFraction.h"
#include "analysis/core/AnalysisImage.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/DecodedImageCache.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/geometry/CircleDetection.h"
#include "platform/Bitmap.h"

namespace {

using namespace tam32;

using bench::kPhotoHeight;
using bench::kPhotoWidth;

// The photograph as a JPEG file, written once and removed at exit.
const std::string& PhotoJpegFile() {
    static const struct TJpegFile {
        std::string Path = bench::TempFileName("analysis-bench", ".jpg");
        TJpegFile() {
            const QImage image = bench::HemisphericalPhoto();
            bench::WriteJpegFile(Path, kPhotoWidth, kPhotoHeight, [&](int Y, uint8_t* Row) {
                std::memcpy(Row, image.constScanLine(Y), size_t{3} * kPhotoWidth);
            });
        }
        ~TJpegFile() { std::filesystem::remove(Path); }
    } file;
    return file.Path;
}

using bench::TPlugins;

void PrepareGapRun() {
    bench::StartFromPhotoSettings();
}

// Cold runs decode the file each time; repeated runs reuse the kept decoding.
void RunGap(benchmark::State& State, const std::string& File, bool Cold) {
    const TPlugins plugins;
    PrepareGapRun();
    TBitmap picture;
    const QString name = QString::fromStdString(File);
    for (auto _ : State) {
        if (Cold) ClearDecodedImageCache();
        if (GapFractionAnalysis(name, picture, {0, 0, kPhotoWidth - 1, kPhotoHeight - 1})) State.SkipWithError("analysis failed");
        benchmark::DoNotOptimize(SkyFactor);
    }
    ClearDecodedImageCache();
}

void BM_GapFractionFromBmp(benchmark::State& State) { RunGap(State, bench::PhotoBmpFile(), true); }
void BM_GapFractionFromJpeg(benchmark::State& State) { RunGap(State, PhotoJpegFile(), true); }
void BM_GapFractionRepeatedJpeg(benchmark::State& State) { RunGap(State, PhotoJpegFile(), false); }

void BM_JpegDecodeAlone(benchmark::State& State) {
    const TPlugins plugins;
    const QString name = QString::fromStdString(PhotoJpegFile());
    for (auto _ : State) {
        TSPIPxDIB image;
        image.LoadFromFile(name);
        image.SetPixelFormat(pxPf24Bit);
        benchmark::DoNotOptimize(image.Width());
    }
}

void BM_DetectCircleArea(benchmark::State& State) {
    const TPlugins plugins;
    ResetSettingsToDefaults();
    ResetAnalysisState();
    const QString name = QString::fromStdString(bench::PhotoBmpFile());
    for (auto _ : State) {
        ClearDecodedImageCache();
        if (DetectCircleArea(name)) State.SkipWithError("no circle found");
        benchmark::DoNotOptimize(CircleR);
    }
}

BENCHMARK(BM_GapFractionFromBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GapFractionFromJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GapFractionRepeatedJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegDecodeAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectCircleArea)->Unit(benchmark::kMillisecond);

}  // namespace
