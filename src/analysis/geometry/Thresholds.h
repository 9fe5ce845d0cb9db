#pragma once
// Automatic thresholds from the 256-bin working Histogram: intermeans,
// minimum error and three criteria searched over every candidate, chosen by
// ThresholdMethod. A method that splits into [.., t] and [t + 1, ..] answers
// t + 1 when the target is compared with ">=" and t otherwise.
namespace tam32 {

// The threshold 0..255 for ThresholdMethod and ThresholdCondition, FixedThreshold
// for the Fixed method, or -1 when none can be chosen.
int AutoThreshold();

}  // namespace tam32
