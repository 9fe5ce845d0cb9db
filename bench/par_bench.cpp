// The PAR estimate for a whole year on a 12-megapixel hemispherical
// photograph (a bright sky disc of radius 1480 with dark leaf patches)
// against one gap fraction analysis of the same file, which the estimate
// runs first. Target: the year estimate within 1.5 times the gap fraction.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "BenchPlugins.h"
#include "analysis/AnalysisImage.h"
#include "analysis/AnalysisState.h"
#include "analysis/DecodedImageCache.h"
#include "analysis/GapFraction.h"
#include "analysis/GlobalSettings.h"
#include "analysis/PAREstimate.h"
#include "image/PxDIB.h"
#include "platform/Bitmap.h"

namespace {

using namespace tam32;

constexpr int kWidth = 4000, kHeight = 3000, kRadius = 1480;

// A 12-MP hemispherical picture: a disc of leaves and sky on black.
struct TPhotoFile {
    std::string Path =
        (std::filesystem::temp_directory_path() / ("tam32-par-bench-" + std::to_string(getpid()) + ".bmp")).string();
    TPhotoFile() {
        TPxDIB Picture;
        Picture.SetBitCount(24);
        Picture.SetWidth(kWidth);
        Picture.SetHeight(kHeight);
        for (int Y = 0; Y < kHeight; ++Y) {
            uint8_t* Row = Picture.GetScanLine(Y);
            for (int X = 0; X < kWidth; ++X) {
                const double Dx = X + 0.5 - kWidth / 2, Dy = Y + 0.5 - kHeight / 2;
                const bool Inside = Dx * Dx + Dy * Dy <= double(kRadius) * kRadius;
                const bool Leaf = ((X / 53) ^ (Y / 41)) % 3 == 0;
                Row[3 * X] = Row[3 * X + 1] = Row[3 * X + 2] = uint8_t(!Inside ? 0 : (Leaf ? 40 : 200));
            }
        }
        Picture.SaveToFile(QString::fromStdString(Path));
    }
    ~TPhotoFile() { std::filesystem::remove(Path); }
};

const TPhotoFile& Photo() {
    static const TPhotoFile Instance;
    return Instance;
}

using bench::TPlugins;

void PrepareRun() {
    ResetSettingsToDefaults(QDate(2024, 6, 21));
    ResetAnalysisState();
    CircleSet = true;
    CircleX = kWidth / 2;
    CircleY = kHeight / 2;
    CircleR = kRadius;
    CircleCenterOffset = 0.5;
    ThresholdCondition = 0;  // bright sky is the gap
    ThresholdMethod = 2;     // fixed: the picture has only three levels
    FixedThreshold = 128;
    NorthForAnalysis = 90.0;
    PARPeriod = 3;
}

void Run(benchmark::State& State, bool (*Routine)(const QString&, TBitmap&, const TRect&)) {
    const TPlugins Plugins;
    const QString File = QString::fromStdString(Photo().Path);
    for (auto _ : State) {
        State.PauseTiming();
        PrepareRun();
        ClearDecodedImageCache();
        TBitmap Picture;
        State.ResumeTiming();
        if (Routine(File, Picture, TRect{0, 0, kWidth - 1, kHeight - 1})) State.SkipWithError("analysis failed");
    }
}

void BM_GapFractionAnalysis(benchmark::State& State) { Run(State, GapFractionAnalysis); }
BENCHMARK(BM_GapFractionAnalysis)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PAREstimateYear(benchmark::State& State) { Run(State, PAREstimate); }
BENCHMARK(BM_PAREstimateYear)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
