// The sun's position per call, as the PAR estimate and the sun tracks ask
// for it: every minute of a day at one site, a new date once per day; by
// the full series on each call, and by the day series that those loops use
// (its set-up once per day counted in).
#include <benchmark/benchmark.h>

#include <optional>

#include "analysis/SolarPosition.h"

using namespace tam32;

namespace {

void PlaceInTokyo(benchmark::State& State) {
    SetSiteLatitude(35, 38, 59);
    SetSiteLongitude(139, 45, 0);
    if (!SetSolarDate(2024, 6, 21)) State.SkipWithError("date refused");
}

void BM_SunPosition(benchmark::State& State) {
    PlaceInTokyo(State);
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

void BM_SolarDayPosition(benchmark::State& State) {
    PlaceInTokyo(State);
    std::optional<TSolarDay> Day;
    int Minute = 0;
    for (auto _ : State) {
        if (Minute == 0) Day.emplace();
        double Azimuth = 0.0, Altitude = 0.0;
        Day->SunPosition(Minute / 60, Minute % 60, 0, Azimuth, Altitude);
        benchmark::DoNotOptimize(Azimuth);
        benchmark::DoNotOptimize(Altitude);
        Minute = (Minute + 1) % 1440;
    }
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_SolarDayPosition);

}  // namespace
