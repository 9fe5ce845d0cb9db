// The classified image of the 12-megapixel hemispherical photograph (a
// bright sky disc of radius 1480 with dark leaf patches), over the disc.
// Targets: within 1.5 times one gap fraction analysis of the same file
// (BM_GapFractionAnalysis of par_bench.cpp, in the same run) with 3 groups,
// within 3 times with 20.
#include <benchmark/benchmark.h>

#include <QImage>

#include "BenchPhotoRun.h"
#include "analysis/AnalysisState.h"
#include "analysis/ClassifiedImage.h"
#include "analysis/Classifier.h"
#include "analysis/GlobalSettings.h"

namespace {

using namespace tam32;

void PrepareRun() {
    bench::StartFromPhotoSettings();
}

// Groups about colours spread from black to (255, 230, 210): each function is
// that of the nearest mean under equal unit variances, so that the groups
// share the pixels.
void SetClassifier(int Groups) {
    ClassifyDone = true;
    DiscLastGroup = Groups - 1;
    ClassTermUsed = {{true, true, true, true}};
    for (std::vector<double>& Term : ClassCoefficients) Term.assign(std::size_t(Groups) + 1, 0.0);
    for (int K = 1; K <= Groups; ++K) {
        const double Mean[3] = {255.0 * K / Groups, 230.0 * K / Groups, 210.0 * K / Groups};
        ClassCoefficients[0][K] = -(Mean[0] * Mean[0] + Mean[1] * Mean[1] + Mean[2] * Mean[2]) / 2.0;
        for (int C = 0; C < 3; ++C) ClassCoefficients[C + 1][K] = Mean[C];
        GroupColors[K - 1] = RGBToColor(uint8_t(K * 12), uint8_t(255 - K * 12), uint8_t(K * 5));
    }
}

void BM_ViewClassifiedImage(benchmark::State& State) {
    static const QImage Photo = bench::HemisphericalPhoto().convertToFormat(QImage::Format_BGR888);
    const int Groups = int(State.range(0));
    bench::RunOnPhoto(State, ViewClassifiedImage, [Groups](TBitmap& Picture) {
        PrepareRun();
        SetClassifier(Groups);
        Picture.SetImage(Photo);
    });
}
BENCHMARK(BM_ViewClassifiedImage)->Arg(3)->Arg(20)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
