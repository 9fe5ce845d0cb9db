#pragma once
// What the two box splits share: a box's mean and variance per channel in
// extended precision, the choice of the channel to split, the leaf colour and
// the progress of leaves that an empty box stands for.
#include <cstdint>

#include "image/PxDIBTypes.h"
#include "platform/Rounding.h"

namespace tam32::reduction {

enum : int { kSplitRed = 0, kSplitGreen = 1, kSplitBlue = 2, kSplitLeaf = 3 };

struct TBoxStats {
    long double Mean[3];  // red, green, blue
    long double Variance[3];
};

inline TBoxStats MakeBoxStats(long double N, const long double (&Sum)[3], const long double (&SumSq)[3]) {
    TBoxStats st;
    for (int c = 0; c < 3; ++c) {
        st.Mean[c] = Sum[c] / N;
        st.Variance[c] = SumSq[c] / N - st.Mean[c] * st.Mean[c];
    }
    return st;
}

// The channel of widest spread, weighted as the splits have always been; they
// differ in the bound on blue of the green test (GreenBlue 3 or 4).
inline int ChooseSplitChannel(const long double (&V)[3], long double GreenBlue) {
    if (4 * V[kSplitGreen] <= 3 * V[kSplitRed] && 2 * V[kSplitBlue] <= 3 * V[kSplitRed]) return kSplitRed;
    if (3 * V[kSplitRed] <= 4 * V[kSplitGreen] && 2 * V[kSplitBlue] <= GreenBlue * V[kSplitGreen])
        return kSplitGreen;
    return kSplitBlue;
}

inline RGBQUAD LeafColor(const TBoxStats& St) {
    return {CheckedCast<uint8_t>(Round(St.Mean[kSplitBlue])), CheckedCast<uint8_t>(Round(St.Mean[kSplitGreen])),
            CheckedCast<uint8_t>(Round(St.Mean[kSplitRed])), 0};
}

// A box at Level stands for 2^(Depth - Level) leaves even when it is empty,
// so progress always adds up to 2^Depth.
inline void ReportLeaves(TPxProgressCallback Callback, void* Data, int Level, int Depth) {
    if (Callback == nullptr) return;
    const int64_t leaves = Level >= Depth ? 1 : int64_t{1} << (Depth - Level);
    for (int64_t i = 0; i < leaves; ++i) Callback(Data);
}

}  // namespace tam32::reduction
