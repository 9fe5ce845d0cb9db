// The sun's position per call, as the PAR estimate and the sun tracks ask
// for it: every minute of a day at one site, a new date once per day; by
// the full series on each call, and by the day series that those loops use,
// which give the azimuth's direction without its angle (its set-up once per
// day counted in).
#include <benchmark/benchmark.h>

#include <optional>

#include "analysis/sun/SolarPosition.h"

using namespace tam32;

namespace {

void PlaceInTokyo(benchmark::State& State) {
    SetSiteLatitude(35, 38, 59);
    SetSiteLongitude(139, 45, 0);
    if (!SetSolarDate(2024, 6, 21)) State.SkipWithError("date refused");
}

void BM_SunPosition(benchmark::State& State) {
    PlaceInTokyo(State);
    int minute = 0;
    for (auto _ : State) {
        double azimuth = 0.0, altitude = 0.0;
        SunPosition(minute / 60, minute % 60, 0, azimuth, altitude);
        benchmark::DoNotOptimize(azimuth);
        benchmark::DoNotOptimize(altitude);
        minute = (minute + 1) % 1440;
    }
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_SunPosition);

void BM_SolarDayPosition(benchmark::State& State) {
    PlaceInTokyo(State);
    std::optional<TSolarDay> day;
    int minute = 0;
    for (auto _ : State) {
        if (minute == 0) day.emplace();
        const TSunPlace place = day->Place(minute / 60, minute % 60, 0);
        benchmark::DoNotOptimize(place);
        minute = (minute + 1) % 1440;
    }
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_SolarDayPosition);

}  // namespace
