#pragma once
// The gap fraction analyses of one file at every fixed threshold 0..255 of
// one channel, as "Compare" runs them, from a single pass over the pixels:
// each ring's and band's histogram of the channel gives the gap counts at
// every threshold, and each threshold's sky factor is summed over its gap
// pixels in the order in which a run of its own sums them. Every result is
// the one that GapFractionAnalysis gives with FixedThreshold at that
// threshold; only the picture is not painted.
#include <QString>
#include <array>
#include <memory>

#include "analysis/canopy/GapFractionPixels.h"
#include "platform/WinTypes.h"

namespace tam32 {

class TFixedThresholdSeries {
public:
    TFixedThresholdSeries();
    ~TFixedThresholdSeries();

    // Whether the settings in force let the series stand for separate runs:
    // the Fixed method on the red, green or blue channel, and an image that
    // is neither shrunk (shrinking binarises it at the threshold) nor kept.
    static bool Applies();
    // The pass over FileName within Area (inclusive). True on failure, after
    // the message that a run would show.
    bool Count(const QString& FileName, const TRect& Area);
    // After a successful Count: publishes the results of the run at
    // FixedThreshold = Threshold (0..255) as that run does, LastThreshold included.
    void Publish(int Threshold) const;

private:
    struct TValueCounts;
    // What does not depend on the threshold: all pixels and their colours.
    TGapTallies FAll;
    std::unique_ptr<TValueCounts> FValues;
    std::array<double, 256> FSky{};
};

}  // namespace tam32
