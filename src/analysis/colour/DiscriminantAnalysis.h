#pragma once
// The stepwise discriminant analysis of colour samples. Red, green and blue
// enter the model by their partial F (Wilks' lambda) against the 5 % point
// of F and leave it the same way; each group then gets Fisher's linear
// classification function over the variables in the model: the pooled
// within-group covariance S restricted to them gives the coefficients
// S^-1 m and the constant -m' S^-1 m / 2 of the group mean m (no prior term).
#include <cstdint>
#include <vector>

namespace tam32 {

// Keeps the samples for RunDiscriminantAnalysis: sample i has the i-th red,
// green and blue value, GroupSizes[k] samples of group k + 1 following one
// another in group order. True when refused ("ERR16" shown, nothing kept):
// fewer than 2 or more than 21 groups, an empty group, colour lists that do
// not hold the sizes' sum, or fewer samples than groups + 4 (the degrees of
// freedom of the F threshold).
bool LoadDiscriminantSamples(const std::vector<int>& GroupSizes, const std::vector<uint8_t>& Red,
                             const std::vector<uint8_t>& Green, const std::vector<uint8_t>& Blue);

// Runs the analysis on the loaded samples and lets them go. Done (False):
// DiscCoefficients, DiscTermUsed, DiscLambda and DiscRaoF hold the result
// and the classification table of the results window shows it. Refused
// (True, "ERR16" shown, nothing changed): no samples loaded, or no variable
// entered the model. A variable without within-group variance of its own
// (after the variables already in) never enters, and the selection stops
// after 64 entries and removals.
bool RunDiscriminantAnalysis();

}  // namespace tam32
