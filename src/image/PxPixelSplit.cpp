// Recursive splitting of all pixels of an image (the High palette) into at
// most 2^Depth boxes, recording each split in a decision tree that later maps
// every pixel to the colour of its box.
#include <cmath>
#include <cstring>

#include "image/PxReduce.h"
#include "image/PxSplitStats.h"

namespace tam32 {
using namespace reduction;
namespace {

// Exact integer sums of a box of pixels (a large image's sum of squares needs
// 64 bits); they convert to extended precision without loss, so the box
// statistics are those of summing every pixel in extended precision.
struct TPixelSums {
    int64_t Count;
    uint64_t Sum[3];  // red, green, blue
    uint64_t SumSq[3];
};

TBoxStats StatsOf(const TPixelSums& S) {
    long double sum[3], sq[3];
    for (int c = 0; c < 3; ++c) {
        sum[c] = static_cast<long double>(S.Sum[c]);
        sq[c] = static_cast<long double>(S.SumSq[c]);
    }
    return MakeBoxStats(static_cast<long double>(S.Count), sum, sq);
}

// A pixel as one word: blue in bits 0-7, green 8-15, red 16-23.
inline uint32_t LoadPixel(const TPxPixelEntry* P) {
    uint32_t w;
    std::memcpy(&w, P, sizeof w);
    return w;
}
inline void StorePixel(TPxPixelEntry* P, uint32_t W) { std::memcpy(P, &W, sizeof W); }

TPixelSums SumPixels(const TPxPixelEntry* Pixels, int64_t Lo, int64_t Hi) {
    uint64_t sr = 0, sg = 0, sb = 0, qr = 0, qg = 0, qb = 0;
    for (int64_t i = Lo; i < Hi; ++i) {
        const uint32_t w = LoadPixel(Pixels + i);
        const uint32_t r = (w >> 16) & 0xFF, g = (w >> 8) & 0xFF, b = w & 0xFF;
        sr += r;
        sg += g;
        sb += b;
        qr += r * r;
        qg += g * g;
        qb += b * b;
    }
    return {Hi - Lo, {sr, sg, sb}, {qr, qg, qb}};
}

// Value counts per channel of the two parts of a partition (32 bits: a pixel
// block holds fewer than 2^31 bytes), in two copies that alternate between
// pixels so that runs of one value do not queue on one counter.
struct TPartCounts {
    uint32_t Count[2][2][3][256];  // [copy][upper part][channel][value]
};

TPixelSums SumsOfPart(const TPartCounts& H, int Upper) {
    TPixelSums s{0, {}, {}};
    for (int c = 0; c < 3; ++c) {
        uint64_t n = 0;
        for (uint64_t v = 0; v < 256; ++v) {
            const uint64_t k = uint64_t{H.Count[0][Upper][c][v]} + H.Count[1][Upper][c][v];
            n += k;
            s.Sum[c] += k * v;
            s.SumSq[c] += k * v * v;
        }
        s.Count = static_cast<int64_t>(n);  // the same for every channel
    }
    return s;
}

// Moves the pixels whose channel value is <= Threshold to the front of Lo..Hi
// and returns where the others start, counting the values of both parts. The
// values are whole numbers, so the floor of the mean as Threshold selects
// exactly the pixels <= the mean. Branch-free: each pixel is swapped to the
// boundary, which advances by the result of its comparison.
int64_t PartitionPixels(TPxPixelEntry* Pixels, int64_t Lo, int64_t Hi, int Channel, uint32_t Threshold,
                        TPartCounts& H) {
    std::memset(&H, 0, sizeof H);
    const int shift = 16 - 8 * Channel;
    int64_t j = Lo;
    auto place = [&](int64_t i, uint32_t (&Parts)[2][3][256]) {
        const uint32_t w = LoadPixel(Pixels + i);
        StorePixel(Pixels + i, LoadPixel(Pixels + j));
        StorePixel(Pixels + j, w);
        const uint32_t upper = ((w >> shift) & 0xFF) > Threshold;
        j += 1 - upper;
        uint32_t(&h)[3][256] = Parts[upper];
        ++h[0][(w >> 16) & 0xFF];
        ++h[1][(w >> 8) & 0xFF];
        ++h[2][w & 0xFF];
    };
    int64_t i = Lo;
    for (; i + 1 < Hi; i += 2) {
        place(i, H.Count[0]);
        place(i + 1, H.Count[1]);
    }
    if (i < Hi) place(i, H.Count[0]);
    return j;
}

// Makes sure Node exists. New nodes are leaves of index 0, so a slot that no
// box fills can never send a walk round in a loop or out of the tree.
void EnsureNode(TPxDecisionTree& Tree, int Node) {
    if (static_cast<size_t>(Node) >= Tree.Nodes.size()) Tree.Nodes.resize(static_cast<size_t>(Node) + 1);
}

struct TPixelSplitter {
    TPxProgressCallback Callback;
    void* Data;
    TPxDecisionTree& Tree;
    int& Count;
    RGBQUAD* Colors;
    TPxPixelEntry* Pixels;
    int Depth;
    TPartCounts Parts{};  // work space of the partition at hand

    // Each box arrives with its sums, counted while its parent was
    // partitioned, so every level costs one pass over the pixels.
    void Split(int64_t Lo, int64_t Hi, int Level, int Node, const TPixelSums& Sums) {
        if (Lo == Hi) {
            ReportLeaves(Callback, Data, Level, Depth);
            return;
        }
        const TBoxStats st = StatsOf(Sums);
        EnsureNode(Tree, Node);
        if (Level >= Depth) {
            TPxTreeNode& leaf = Tree.Nodes[Node];
            leaf.Channel = kSplitLeaf;
            leaf.PaletteIndex = Count;
            Colors[Count++] = LeafColor(st);
            if (Callback != nullptr) Callback(Data);
            return;
        }
        const int channel = ChooseSplitChannel(st.Variance, 4);
        const long double mean = st.Mean[channel];
        const int64_t s =
            PartitionPixels(Pixels, Lo, Hi, channel, static_cast<uint32_t>(std::floor(mean)), Parts);
        const TPixelSums upperSums = SumsOfPart(Parts, 1), lowerSums = SumsOfPart(Parts, 0);
        Tree.Nodes[Node].Channel = static_cast<uint8_t>(channel);
        Tree.Nodes[Node].Threshold = mean;

        // Upper part first, so it gets the lower indices. Children get their
        // slots even when their box is empty and fills none.
        const int upper = Tree.NextNode++;
        EnsureNode(Tree, upper);
        Tree.Nodes[Node].Upper = upper;
        Split(s, Hi, Level + 1, upper, upperSums);
        const int lower = Tree.NextNode++;
        EnsureNode(Tree, lower);
        Tree.Nodes[Node].Lower = lower;  // the nodes may have moved meanwhile: index again
        Split(Lo, s, Level + 1, lower, lowerSums);
    }
};

}  // namespace

void SplitPixelBox(int64_t Lo, int64_t Hi, int Level, TPxProgressCallback Callback, void* Data,
                   int Node, TPxDecisionTree& Tree, int& Count, RGBQUAD* Colors, TPxPixelEntry* Pixels,
                   int Depth) {
    TPixelSplitter splitter{Callback, Data, Tree, Count, Colors, Pixels, Depth};
    splitter.Split(Lo, Hi, Level, Node, SumPixels(Pixels, Lo, Hi));
}

}  // namespace tam32
