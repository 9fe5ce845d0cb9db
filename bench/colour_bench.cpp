// The colour search and the colour statistics by class on the 12-megapixel
// hemispherical photograph, each loading the BMP file afresh, against one
// gap fraction analysis of the same file (BM_GapFractionAnalysis of
// par_bench.cpp; run them together with
// --benchmark_filter='GapFractionAnalysis|SearchColors|SepColorAnalysis').
// Target: each within 1.5 times the gap fraction.
#include <benchmark/benchmark.h>

#include <QImage>

#include "BenchPhotoRun.h"
#include "analysis/colour/ColourAnalyses.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"

namespace {

using namespace tam32;

void PrepareRun(TBitmap& Picture) {
    bench::StartFromPhotoSettings();
    // The sky's colour within 20 of a sky pixel; the sky as the target.
    ColorSearchX = bench::kPhotoWidth / 2;
    ColorSearchY = bench::kPhotoHeight / 2 + 25;
    ColorSearchPercent = false;
    ColorSearchToleranceR = ColorSearchToleranceG = ColorSearchToleranceB = 20;
    ThresholdMethod = 2;
    FixedThreshold = 128;
    // The window's picture, which the statistics paint pixel by pixel.
    Picture.SetImage(QImage(bench::kPhotoWidth, bench::kPhotoHeight, QImage::Format_BGR888));
}

void BM_SearchColors(benchmark::State& State) { bench::RunOnPhoto(State, SearchColors, PrepareRun); }
BENCHMARK(BM_SearchColors)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SepColorAnalysis(benchmark::State& State) { bench::RunOnPhoto(State, SepColorAnalysis, PrepareRun); }
BENCHMARK(BM_SepColorAnalysis)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
