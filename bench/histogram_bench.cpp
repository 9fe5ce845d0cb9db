// The histograms of the analysis area on a 12-megapixel hemispherical
// photograph (a bright sky disc of radius 1480 with dark leaf patches), the
// image loaded once: per zenith degree, also with an azimuth sector left out,
// against the plain channel histogram of the same area. Most of the zenith
// histogram's time goes to building the per-distance zenith table, whose sky
// weights it does not read.
#include <benchmark/benchmark.h>

#include <QString>

#include "BenchHemiPhoto.h"
#include "BenchPlugins.h"
#include "analysis/core/AnalysisImage.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/DecodedImageCache.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/geometry/AnalysisArea.h"
#include "analysis/geometry/OpenAnalysisImage.h"

namespace {

using namespace tam32;

using bench::kPhotoHeight;
using bench::kPhotoWidth;

enum THistogramMode { hmChannel = 1, hmZenith = 2 };

void RunHistogram(benchmark::State& State, THistogramMode Mode, bool Masked) {
    const bench::TPlugins plugins;
    bench::StartFromPhotoSettings();
    AzimuthMaskUse = Masked;
    AzimuthMaskFrom = 100.0;
    AzimuthMaskTo = 170.0;
    if (OpenAnalysisImage(QString::fromStdString(bench::PhotoBmpFile()))) {
        State.SkipWithError("photo not loaded");
        return;
    }
    for (auto _ : State) {
        if (BuildHistogram(Mode, {0, 0, kPhotoWidth - 1, kPhotoHeight - 1})) State.SkipWithError("empty area");
        benchmark::DoNotOptimize(ZenithHistogram[45][200]);
    }
    FreeAnalysisImage();
    ClearDecodedImageCache();
}

void BM_ChannelHistogram(benchmark::State& State) { RunHistogram(State, hmChannel, false); }
void BM_ZenithHistogram(benchmark::State& State) { RunHistogram(State, hmZenith, false); }
void BM_ZenithHistogramMasked(benchmark::State& State) { RunHistogram(State, hmZenith, true); }

BENCHMARK(BM_ChannelHistogram)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZenithHistogram)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZenithHistogramMasked)->Unit(benchmark::kMillisecond);

}  // namespace
