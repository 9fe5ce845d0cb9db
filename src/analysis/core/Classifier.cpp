#include "analysis/core/Classifier.h"

#include <algorithm>

#include "analysis/core/AnalysisImage.h"

namespace tam32 {

TClassCoefficients DiscCoefficients;
TTermFlags DiscTermUsed;
double DiscLambda, DiscRaoF;
TClassCoefficients ClassCoefficients;
TTermFlags ClassTermUsed;
int32_t DiscLastGroup;
TCheckedArray<TColor, kMaxLastGroup + 1> GroupColors;
TClassifierScores PreparedClassifier;

void ResetClassifier() {
    DiscCoefficients = {};
    DiscTermUsed = {};
    DiscLambda = DiscRaoF = 0.0;
    ClassCoefficients = {};
    ClassTermUsed = {};
    DiscLastGroup = 0;
    GroupColors = {};
    PreparedClassifier = {};
}

TClassifierScores TClassifierScores::Active() {
    TClassifierScores Scores;
    // Never past the columns that the classifier has: group k is column k + 1.
    std::size_t Columns = ClassCoefficients[0].size();
    for (int T = 1; T < 4; ++T) Columns = std::min(Columns, ClassCoefficients[T].size());
    Scores.FLast = std::min({int(Columns) - 2, int(DiscLastGroup), kMaxLastGroup});
    for (int T = 0; T < 4; ++T) Scores.FUsed[std::size_t(T)] = ClassTermUsed[T];
    for (int K = 0; K <= Scores.FLast; ++K) {
        const std::size_t Column = std::size_t(K) + 1;
        Scores.FConstant[std::size_t(K)] = ClassCoefficients[0][Column];
        Scores.FRed[std::size_t(K)] = ClassCoefficients[1][Column];
        Scores.FGreen[std::size_t(K)] = ClassCoefficients[2][Column];
        Scores.FBlue[std::size_t(K)] = ClassCoefficients[3][Column];
    }
    return Scores;
}

int ClassifyPixel(int X, int Y) {
    int R, G, B;
    GetPixelRGB(X, Y, R, G, B);
    return TClassifierScores::Active().Classify(R, G, B);
}

}  // namespace tam32
