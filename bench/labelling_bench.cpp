// The labelling on two 12-megapixel canopy masks (about 200 k runs in 10 k
// objects, and 120 k runs in 500 objects): its core (the runs of the mask
// joined into objects and measured) against OpenCV's connected components
// with statistics (8-connectivity) of the same mask, and the whole analysis
// from a BMP (numbers drawn, settings as shipped) against one gap fraction
// analysis of the same file. Targets: the core within 2 times the connected
// components, the analysis within 3 times the gap fraction.
#include <benchmark/benchmark.h>

#include <opencv2/imgproc.hpp>

#include "../tests/analysis/SyntheticMasks.h"
#include "BenchMaskFiles.h"
#include "BenchPlugins.h"
#include "analysis/canopy/GapFraction.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/DecodedImageCache.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/objects/LabelRuns.h"
#include "analysis/objects/Labelling.h"
#include "platform/Bitmap.h"

namespace {

using namespace tam32;

const test::TMask& Canopy(int64_t GapPercent) {
    static const test::TMask few = test::CanopyMask(0.5), many = test::CanopyMask(0.2);
    return GapPercent == 50 ? few : many;
}

void BM_LabellingCore(benchmark::State& State) {
    const test::TMask& mask = Canopy(State.range(0));
    for (auto _ : State) {
        TLabelRuns runs(0, 20001);
        for (int y = 0; y < mask.Height; ++y)
            runs.AddRow(&mask.Pixels[std::size_t(y) * std::size_t(mask.Width)], 0, mask.Width - 1);
        benchmark::DoNotOptimize(runs.Label());
    }
}

void BM_OpenCVConnectedComponents(benchmark::State& State) {
    const test::TMask& mask = Canopy(State.range(0));
    const cv::Mat image(mask.Height, mask.Width, CV_8U, const_cast<uint8_t*>(mask.Pixels.data()));
    cv::Mat labels, stats, centroids;
    for (auto _ : State)
        benchmark::DoNotOptimize(cv::connectedComponentsWithStats(image, labels, stats, centroids, 8, CV_32S));
}

void Run(benchmark::State& State, bool (*Routine)(const QString&, TBitmap&, const TRect&)) {
    bench::EnsureGuiApplication();
    const bench::TPlugins plugins;
    const test::TMask& mask = Canopy(State.range(0));
    const bench::TMaskFile file("canopy", mask.Width, mask.Height, mask.Pixels.data());
    TBitmap picture;
    for (auto _ : State) {
        State.PauseTiming();
        ResetSettingsToDefaults();
        ResetAnalysisState();
        bench::PublishWholePictureCircle(mask.Width, mask.Height);
        ClearDecodedImageCache();
        picture.SetImage(QImage(mask.Width, mask.Height, QImage::Format_BGR888));
        State.ResumeTiming();
        if (Routine(file.Name(), picture, TRect{0, 0, mask.Width - 1, mask.Height - 1}))
            State.SkipWithError("analysis failed");
    }
    ClearDecodedImageCache();
}

void BM_LabellAnalysis(benchmark::State& State) { Run(State, LabellAnalysis); }
void BM_GapFractionOfTheMask(benchmark::State& State) { Run(State, GapFractionAnalysis); }

BENCHMARK(BM_LabellingCore)->Arg(20)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenCVConnectedComponents)->Arg(20)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LabellAnalysis)->Arg(20)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GapFractionOfTheMask)->Arg(20)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
