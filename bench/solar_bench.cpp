// The sun's position per call, as the PAR estimate asks for it: every
// minute of a day at one site, a new date once per day.
#include <benchmark/benchmark.h>

#include "analysis/SolarPosition.h"

using namespace tam32;

namespace {

void BM_SunPosition(benchmark::State& State) {
    SetSiteLatitude(35, 38, 59);
    SetSiteLongitude(139, 45, 0);
    if (!SetSolarDate(2024, 6, 21)) State.SkipWithError("date refused");
    int Minute = 0;
    for (auto _ : State) {
        double Azimuth = 0.0, Altitude = 0.0;
        SunPosition(Minute / 60, Minute % 60, 0, Azimuth, Altitude);
        benchmark::DoNotOptimize(Azimuth);
        benchmark::DoNotOptimize(Altitude);
        Minute = (Minute + 1) % 1440;
    }
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_SunPosition);

}  // namespace
