// Colour reduction and dithering of a 12-megapixel photograph-like 24-bit
// image: both palette methods to 8 and 4 bits and both ditherings.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "image/PxMemory.h"
#include "image/PxReduce.h"

using namespace tam32;

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// A canopy photograph in miniature: a sky shading from blue to white, dark
// foliage in smooth irregular patches, and sensor noise on every channel.
const TPxDIBInfos& Photo() {
    static const TPxDIBInfos infos = [] {
        TPxDIBInfos p;
        p.Header = {40, kWidth, kHeight, 1, 24, BI_RGB, 0, 3780, 3780, 0, 0};
        const int64_t stride = DIBRowSize(24, kWidth);
        GetMemory(p, stride * kHeight, true);
        uint32_t seed = 12345;
        for (int y = 0; y < kHeight; ++y) {
            uint8_t* row = p.Bits + y * stride;
            for (int x = 0; x < kWidth; ++x) {
                seed = seed * 1664525u + 1013904223u;
                const int noise = static_cast<int>(seed >> 28) - 8;
                const double foliage = std::sin(x / 97.0) * std::cos(y / 73.0) + std::sin((x + y) / 151.0);
                const double t = static_cast<double>(y) / kHeight;
                int r = static_cast<int>(120 + 110 * t), g = static_cast<int>(160 + 80 * t), b = 235;
                if (foliage > 0.3) {
                    r = static_cast<int>(30 + 40 * foliage);
                    g = static_cast<int>(60 + 50 * foliage);
                    b = static_cast<int>(20 + 15 * foliage);
                }
                row[3 * x] = static_cast<uint8_t>(std::clamp(b + noise, 0, 255));
                row[3 * x + 1] = static_cast<uint8_t>(std::clamp(g + noise, 0, 255));
                row[3 * x + 2] = static_cast<uint8_t>(std::clamp(r + noise, 0, 255));
            }
        }
        return p;
    }();
    return infos;
}

using TConverter = void (*)(const TPxDIBInfos&, TPxDIBInfos&, bool, TPxProgressCallback, void*);
using TDitherer = void (*)(const TPxDIBInfos&, TPxDIBInfos&, bool);

void Release(TPxDIBInfos& Infos) { FreeMemory(Infos.MappingHandle, Infos.Bits, true); }

void RunConverter(benchmark::State& State, TConverter Convert) {
    const TPxDIBInfos& source = Photo();
    for (auto _ : State) {
        TPxDIBInfos dest;
        Convert(source, dest, true, nullptr, nullptr);
        benchmark::DoNotOptimize(dest.Bits);
        Release(dest);
    }
    State.SetItemsProcessed(State.iterations() * int64_t{kWidth} * kHeight);
}

void RunDitherer(benchmark::State& State, TDitherer Dither) {
    const TPxDIBInfos& source = Photo();
    for (auto _ : State) {
        TPxDIBInfos dest;
        Dither(source, dest, true);
        benchmark::DoNotOptimize(dest.Bits);
        Release(dest);
    }
    State.SetItemsProcessed(State.iterations() * int64_t{kWidth} * kHeight);
}

void BM_ReduceTo8BitLow(benchmark::State& State) { RunConverter(State, ConvertTrueColorTo8BitRGBLow); }
void BM_ReduceTo8BitHigh(benchmark::State& State) { RunConverter(State, ConvertTrueColorTo8BitRGBHigh); }
void BM_ReduceTo4BitLow(benchmark::State& State) { RunConverter(State, ConvertTrueColorTo4BitRGBLow); }
void BM_ReduceTo4BitHigh(benchmark::State& State) { RunConverter(State, ConvertTrueColorTo4BitRGBHigh); }
void BM_DitherToFixed8Bit(benchmark::State& State) { RunDitherer(State, DitherToFixed8Bit); }
void BM_DitherTo1Bit(benchmark::State& State) { RunDitherer(State, DitherTo1Bit); }

}  // namespace

BENCHMARK(BM_ReduceTo8BitLow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReduceTo8BitHigh)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReduceTo4BitLow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReduceTo4BitHigh)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DitherToFixed8Bit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DitherTo1Bit)->Unit(benchmark::kMillisecond);
