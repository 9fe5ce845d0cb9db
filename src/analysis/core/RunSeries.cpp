#include "analysis/core/RunSeries.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "analysis/core/DecodedImageCache.h"

namespace tam32 {
namespace {

int OpenSeries = 0;
std::vector<void (*)()> Releases;

}  // namespace

TRunSeries::TRunSeries() { ++OpenSeries; }

TRunSeries::~TRunSeries() {
    if (--OpenSeries > 0) return;
    for (void (*Release)() : std::exchange(Releases, {})) Release();
    ClearDecodedImageCache();
}

bool RunSeriesOpen() { return OpenSeries > 0; }

void ReleaseWhenSeriesEnds(void (*Release)()) {
    if (std::find(Releases.begin(), Releases.end(), Release) == Releases.end()) Releases.push_back(Release);
}

}  // namespace tam32
