// Recursive splitting of weighted colour entries (the Low and 256-to-16
// palettes) into at most 2^Depth boxes, each giving one colour, its mean.
#include <utility>

#include "image/PxReduce.h"
#include "image/PxSplitStats.h"

namespace tam32 {
using namespace reduction;
namespace {

int32_t EntryValue(const TPxColorEntry& E, int Channel) {
    return Channel == kSplitRed ? E.Red : Channel == kSplitGreen ? E.Green : E.Blue;
}

}  // namespace

void SplitColorBox(int Lo, int Hi, int Level, TPxProgressCallback Callback, void* Data, int& Count,
                   RGBQUAD* Colors, TPxColorEntry* Entries, int Depth) {
    if (Lo == Hi) {
        ReportLeaves(Callback, Data, Level, Depth);
        return;
    }
    long double n = 0, sum[3] = {}, sq[3] = {};
    for (int i = Lo; i < Hi; ++i) {
        const TPxColorEntry& e = Entries[i];
        const long double w = e.Weight;
        const long double v[3] = {static_cast<long double>(e.Red), static_cast<long double>(e.Green),
                                  static_cast<long double>(e.Blue)};
        n += w;
        for (int c = 0; c < 3; ++c) {
            sum[c] += w * v[c];
            sq[c] += w * v[c] * v[c];
        }
    }
    const TBoxStats st = MakeBoxStats(n, sum, sq);
    if (Level >= Depth) {
        Colors[Count] = LeafColor(st);
        for (int i = Lo; i < Hi; ++i) Entries[i].Weight = Count;
        ++Count;
        if (Callback != nullptr) Callback(Data);
        return;
    }
    const int channel = ChooseSplitChannel(st.Variance, 3);
    const long double mean = st.Mean[channel];
    int i = Lo, j = Hi - 1;
    for (;;) {
        while (i <= j && EntryValue(Entries[i], channel) <= mean) ++i;
        while (i <= j && EntryValue(Entries[j], channel) > mean) --j;
        if (i >= j) break;
        std::swap(Entries[i++], Entries[j--]);
    }
    // Upper part first, so the upper half of every split gets the lower indices.
    SplitColorBox(i, Hi, Level + 1, Callback, Data, Count, Colors, Entries, Depth);
    SplitColorBox(Lo, i, Level + 1, Callback, Data, Count, Colors, Entries, Depth);
}

}  // namespace tam32
