// The PAR estimate for a whole year on a 12-megapixel hemispherical
// photograph (a bright sky disc of radius 1480 with dark leaf patches)
// against one gap fraction analysis of the same file, which the estimate
// runs first. Target: the year estimate within 1.2 times the gap fraction.
#include <benchmark/benchmark.h>

#include "BenchPhotoRun.h"
#include "analysis/canopy/GapFraction.h"
#include "analysis/core/AnalysisImage.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/sun/PAREstimate.h"

namespace {

using namespace tam32;

void PrepareRun() {
    bench::StartFromPhotoSettings();
    ThresholdMethod = 2;  // fixed, between the leaves' and the sky's levels
    FixedThreshold = 128;
    NorthForAnalysis = 90.0;
    PARPeriod = 3;
}

void Run(benchmark::State& State, bench::TPhotoRoutine Routine) {
    bench::RunOnPhoto(State, Routine, [](TBitmap&) { PrepareRun(); });
}

void BM_GapFractionAnalysis(benchmark::State& State) { Run(State, GapFractionAnalysis); }
BENCHMARK(BM_GapFractionAnalysis)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PAREstimateYear(benchmark::State& State) { Run(State, PAREstimate); }
BENCHMARK(BM_PAREstimateYear)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
