#pragma once
// The colour classifier. A discriminant analysis leaves its functions in the
// Disc* variables; a training or a classifier file makes functions the
// active classifier (Class*, with ClassifyDone of GlobalSettings), which
// gives every pixel a group: each group scores its constant plus the red,
// green and blue terms in use, the highest score wins and the lower group
// wins a tie. Coefficients are indexed [term][group]: term 0 the constant,
// 1 red, 2 green, 3 blue; groups 1..DiscLastGroup + 1 (column 0 is unused
// and 0). Groups are numbered from 0 where a pixel's group is meant.
#include <array>
#include <cstdint>
#include <vector>

#include "analysis/core/CheckedArray.h"
#include "platform/WinTypes.h"

namespace tam32 {

// At most 21 groups.
constexpr int kMaxLastGroup = 20;

using TClassCoefficients = TCheckedArray<std::vector<double>, 4>;
using TTermFlags = TCheckedArray<bool, 4>;

// The functions of the last discriminant analysis, with its Wilks lambda
// and the F value approximating it.
extern TClassCoefficients DiscCoefficients;
extern TTermFlags DiscTermUsed;
extern double DiscLambda, DiscRaoF;
// The active classifier; no columns before the first training or load.
extern TClassCoefficients ClassCoefficients;
extern TTermFlags ClassTermUsed;
// The number of groups of the active classifier minus 1.
extern int32_t DiscLastGroup;
// Display colour ($00BBGGRR) of group k + 1 at k.
extern TCheckedArray<TColor, kMaxLastGroup + 1> GroupColors;

// No classifier, as at start-up (ClassifyDone is a setting of its own).
void ResetClassifier();

// The active classifier's scores in a form fit for pixel loops: groups
// 0..LastGroup(), the groups that it has columns for, at most DiscLastGroup.
class TClassifierScores {
public:
    static TClassifierScores Active();

    int LastGroup() const { return FLast; }
    // The group of a pixel; 0 when there is no group.
    int Classify(int R, int G, int B) const {
        const double X1 = FUsed[1] ? R : 0.0, X2 = FUsed[2] ? G : 0.0, X3 = FUsed[3] ? B : 0.0;
        int Best = 0;
        double Top = Score(0, X1, X2, X3);
        for (int K = 1; K <= FLast; ++K) {
            const double S = Score(K, X1, X2, X3);
            if (S > Top) {
                Top = S;
                Best = K;
            }
        }
        return Best;
    }
    // Of a pixel's bytes (blue, green, red).
    int ClassifyBytes(const uint8_t* Pixel) const { return Classify(Pixel[2], Pixel[1], Pixel[0]); }

private:
    double Score(int K, double X1, double X2, double X3) const {
        return FRed[K] * X1 + FGreen[K] * X2 + FBlue[K] * X3 + FConstant[K];
    }

    std::array<double, kMaxLastGroup + 1> FConstant{}, FRed{}, FGreen{}, FBlue{};
    std::array<bool, 4> FUsed{};
    int FLast = -1;
};

// The active classifier as PrepareClassification left it for the
// classification target.
extern TClassifierScores PreparedClassifier;

// The group 0..DiscLastGroup of pixel (X, Y) of the analysis image under the
// active classifier; ERangeError outside the image.
int ClassifyPixel(int X, int Y);

}  // namespace tam32
