// The classified image of the 12-megapixel hemispherical photograph (a
// bright sky disc of radius 1480 with dark leaf patches), over the disc.
// Targets: within 1.5 times one gap fraction analysis of the same file
// (BM_GapFractionAnalysis of par_bench.cpp, in the same run) with 3 groups,
// within 3 times with 20.
#include <benchmark/benchmark.h>

#include <QImage>

#include "BenchClassifier.h"
#include "BenchPhotoRun.h"
#include "analysis/colour/ClassifiedImage.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/Classifier.h"
#include "analysis/core/GlobalSettings.h"

namespace {

using namespace tam32;

void PrepareRun() {
    bench::StartFromPhotoSettings();
}

void BM_ViewClassifiedImage(benchmark::State& State) {
    static const QImage Photo = bench::HemisphericalPhoto().convertToFormat(QImage::Format_BGR888);
    const int Groups = int(State.range(0));
    bench::RunOnPhoto(State, ViewClassifiedImage, [Groups](TBitmap& Picture) {
        PrepareRun();
        bench::SetClassifier(Groups);
        Picture.SetImage(Photo);
    });
}
BENCHMARK(BM_ViewClassifiedImage)->Arg(3)->Arg(20)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
