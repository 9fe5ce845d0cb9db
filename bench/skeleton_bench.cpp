// The skeleton length analysis on two 12-megapixel BMPs, each against one
// gap fraction analysis of the same file: roots (a hundred curved lines 5 to
// 15 pixels wide, a fifth of the picture), and one round blob 600 pixels across, whose thinning
// takes 300 passes. Targets: the roots within 6 times the gap fraction, the
// blob within 3 times.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <random>

#include "BenchMaskFiles.h"
#include "BenchPlugins.h"
#include "analysis/canopy/GapFraction.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/DecodedImageCache.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/objects/SkeletonLength.h"
#include "platform/Bitmap.h"

namespace {

using namespace tam32;

constexpr int kWidth = 4000, kHeight = 3000;

// White on black, from the red channel.
std::vector<uint8_t> MaskOf(const QImage& Image) {
    std::vector<uint8_t> mask(std::size_t(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) mask[std::size_t(y) * kWidth + std::size_t(x)] = qRed(Image.pixel(x, y)) > 127;
    return mask;
}

std::vector<uint8_t> RootsMask() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    std::mt19937 random(17);
    std::uniform_real_distribution<double> x(0, kWidth), y(0, kHeight);
    std::uniform_int_distribution<int> width(5, 15);
    for (int i = 0; i < 100; ++i) {
        QPainterPath path(QPointF(x(random), y(random)));
        path.cubicTo(QPointF(x(random), y(random)), QPointF(x(random), y(random)), QPointF(x(random), y(random)));
        painter.setPen(QPen(Qt::white, width(random)));
        painter.drawPath(path);
    }
    return MaskOf(image);
}

std::vector<uint8_t> BlobMask() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(kWidth / 2.0, kHeight / 2.0), 300, 300);
    return MaskOf(image);
}

const bench::TMaskFile& Picture(int64_t Which) {
    static const std::vector<uint8_t> roots = RootsMask(), blob = BlobMask();
    static const bench::TMaskFile rootsFile("roots", kWidth, kHeight, roots.data()),
        blobFile("blob", kWidth, kHeight, blob.data());
    return Which == 0 ? rootsFile : blobFile;
}

void Run(benchmark::State& State, bool (*Routine)(const QString&, TBitmap&, const TRect&)) {
    bench::EnsureGuiApplication();
    const bench::TPlugins plugins;
    const bench::TMaskFile& file = Picture(State.range(0));
    TBitmap picture;
    for (auto _ : State) {
        State.PauseTiming();
        ResetSettingsToDefaults();
        ResetAnalysisState();
        bench::PublishWholePictureCircle(kWidth, kHeight);
        ClearDecodedImageCache();
        picture.SetImage(QImage(kWidth, kHeight, QImage::Format_BGR888));
        State.ResumeTiming();
        if (Routine(file.Name(), picture, TRect{0, 0, kWidth - 1, kHeight - 1})) State.SkipWithError("analysis failed");
    }
    ClearDecodedImageCache();
}

void BM_TopoAnalysis(benchmark::State& State) { Run(State, TopoAnalysis); }
void BM_GapFractionOfThePicture(benchmark::State& State) { Run(State, GapFractionAnalysis); }

// 0: roots, 1: the blob.
BENCHMARK(BM_TopoAnalysis)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GapFractionOfThePicture)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
