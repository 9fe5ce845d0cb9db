// Loading and saving a 12-megapixel 24-bit BMP against the cost of copying
// the same bytes in memory (the target is within three times that).
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <cstring>
#include <vector>

#include "image/PxDIB.h"
#include "platform/Stream.h"

using namespace tam32;

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

const std::vector<uint8_t>& PhotoBmp() {
    static const std::vector<uint8_t> bytes = [] {
        TPxDIB dib;
        dib.SetBitCount(24);
        dib.SetWidth(kWidth);
        dib.SetHeight(kHeight);
        for (int y = 0; y < kHeight; ++y) {
            uint8_t* row = dib.GetScanLine(y);
            for (int x = 0; x < kWidth * 3; ++x) row[x] = uint8_t(x * 7 + y * 13);
        }
        TMemoryStream stream;
        dib.SaveToStream(stream);
        return stream.Data();
    }();
    return bytes;
}

void BM_CopySameBytes(benchmark::State& State) {
    const auto& source = PhotoBmp();
    std::vector<uint8_t> dest(source.size());
    for (auto _ : State) {
        std::memcpy(dest.data(), source.data(), source.size());
        benchmark::DoNotOptimize(dest.data());
    }
    State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(source.size()));
}

void BM_LoadBmpFromMemory(benchmark::State& State) {
    TMemoryStream stream(PhotoBmp());
    for (auto _ : State) {
        stream.SetPosition(0);
        TPxDIB dib;
        dib.LoadFromStream(stream);
        benchmark::DoNotOptimize(dib.DIB().Infos.Bits);
    }
    State.SetBytesProcessed(int64_t(State.iterations()) * stream.Size());
}

void BM_LoadBmpFromFile(benchmark::State& State) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.bmp"));
    TMemoryStream(PhotoBmp()).SaveToFile(path);
    for (auto _ : State) {
        TPxDIB dib;
        dib.LoadFromFile(path);
        benchmark::DoNotOptimize(dib.DIB().Infos.Bits);
    }
    State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(PhotoBmp().size()));
}

void BM_SaveBmpToMemory(benchmark::State& State) {
    TMemoryStream source(PhotoBmp());
    TPxDIB dib;
    dib.LoadFromStream(source);
    for (auto _ : State) {
        TMemoryStream stream;
        dib.SaveToStream(stream);
        benchmark::DoNotOptimize(stream.Memory());
    }
    State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(PhotoBmp().size()));
}

}  // namespace

BENCHMARK(BM_CopySameBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBmpFromMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBmpFromFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveBmpToMemory)->Unit(benchmark::kMillisecond);

namespace {

void BM_SaveBmpToFile(benchmark::State& State) {
    TMemoryStream source(PhotoBmp());
    TPxDIB dib;
    dib.LoadFromStream(source);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("saved.bmp"));
    for (auto _ : State) dib.SaveToFile(path);
    State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(PhotoBmp().size()));
}

}  // namespace

BENCHMARK(BM_SaveBmpToFile)->Unit(benchmark::kMillisecond);
