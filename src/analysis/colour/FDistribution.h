#pragma once
// The F distribution for whole degrees of freedom, as the stepwise
// discriminant analysis uses it: the upper-tail probability by its finite
// series (by the incomplete beta's continued fraction once the degrees of
// freedom sum to more than 10,000), and the 5 % point found by a decimal
// step search on it. Extended precision inside; no state.
namespace tam32 {

// The probability that an F variate with DF1 and DF2 degrees of freedom
// exceeds F: 1 for F <= 0 or NaN, NaN for degrees of freedom below 1. Any
// positive degrees of freedom are answered within a few milliseconds.
double FDistUpperProb(int DF1, int DF2, double F);

// The first point of the 1e-10 grid (searched by steps of 10, 1, 0.1, ...,
// 1e-10) at which FDistUpperProb falls to 0.05 or below; -1 when the search
// gives up after 10000 evaluations, and at once for degrees of freedom
// below 1.
double FCritical05(int DF1, int DF2);

}  // namespace tam32
