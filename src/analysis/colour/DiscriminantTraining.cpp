#include "analysis/colour/DiscriminantTraining.h"

#include <optional>

#include "analysis/colour/DiscriminantAnalysis.h"
#include "analysis/core/AnalysisImage.h"
#include "analysis/core/Classifier.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/geometry/OpenAnalysisImage.h"

namespace tam32 {
namespace {

constexpr TColor kMaxColor = 0xFFFFFF;

// The table's groups: runs of equal group text, which must read 1, 2, ...
struct TGrouping {
    std::vector<int> Sizes;
    std::vector<TColor> Colors;  // of each group's last row
};

std::optional<int> WholeNumber(const QString& Text) {
    bool Ok = false;
    const int Value = Text.toInt(&Ok);
    if (!Ok) return std::nullopt;
    return Value;
}

std::optional<TGrouping> GroupRows(const std::vector<TSampleRow>& Rows) {
    TGrouping Grouping;
    for (std::size_t I = 0; I < Rows.size(); ++I) {
        const std::optional<int> Color = WholeNumber(Rows[I].Color);
        if (!Color || *Color < 0 || *Color > kMaxColor) return std::nullopt;
        if (I == 0 || Rows[I].Group != Rows[I - 1].Group) {
            const std::optional<int> Group = WholeNumber(Rows[I].Group);
            if (!Group || *Group != int(Grouping.Sizes.size()) + 1 || *Group > kMaxLastGroup + 1) return std::nullopt;
            Grouping.Sizes.push_back(0);
            Grouping.Colors.push_back(0);
        }
        ++Grouping.Sizes.back();
        Grouping.Colors.back() = *Color;
    }
    if (Grouping.Sizes.size() < 2) return std::nullopt;
    return Grouping;
}

}  // namespace

bool TrainDiscriminant(const QString& FileName, const std::vector<TSampleRow>& Rows) {
    if (OpenAnalysisImage(FileName)) return true;  // after its message
    TAnalysisRun Run;
    const std::optional<TGrouping> Grouping = GroupRows(Rows);
    if (!Grouping) {
        ShowErrorMessage(QStringLiteral("ERR16"));
        return true;
    }
    std::vector<uint8_t> Red, Green, Blue;
    for (const TSampleRow& Row : Rows) {
        const std::optional<int> X = WholeNumber(Row.X), Y = WholeNumber(Row.Y);
        if (!X || !Y || *X < 0 || *Y < 0 || *X >= AnalysisImage->Width() || *Y >= AnalysisImage->Height()) {
            ShowErrorMessage(QStringLiteral("ERR16"));
            return true;
        }
        int R, G, B;
        GetPixelRGB(*X, *Y, R, G, B);
        Red.push_back(uint8_t(R));
        Green.push_back(uint8_t(G));
        Blue.push_back(uint8_t(B));
    }
    if (LoadDiscriminantSamples(Grouping->Sizes, Red, Green, Blue)) return true;
    DiscLastGroup = int(Grouping->Sizes.size()) - 1;
    for (std::size_t K = 0; K < Grouping->Colors.size(); ++K) GroupColors[K] = Grouping->Colors[K];
    return false;
}

bool TrainClassifier(const QString& FileName, const std::vector<TSampleRow>& Rows) {
    // The groups of the classifier in force, should the analysis refuse.
    const int32_t LastGroup = DiscLastGroup;
    const auto Colors = GroupColors;
    if (TrainDiscriminant(FileName, Rows)) return true;
    if (RunDiscriminantAnalysis()) {
        DiscLastGroup = LastGroup;
        GroupColors = Colors;
        return true;
    }
    ClassCoefficients = DiscCoefficients;
    ClassTermUsed = DiscTermUsed;
    ClassifyDone = true;
    return false;
}

}  // namespace tam32
