// Feeds arbitrary bytes to the classifier file's load as the frame does it,
// from a file: the file loads whole or is refused, and a refused one leaves
// the active classifier exactly as it was. What loads saves, as Save writes
// it, to a text that reads back to the same classifier and saves to the
// same text again.
#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzInputFile.h"
#include "analysis/colour/ClassifierFile.h"
#include "analysis/core/Classifier.h"
#include "analysis/core/GlobalSettings.h"

using namespace tam32;

namespace {

const TFuzzInputFile kInput("classifier");

// A classifier of two groups, in force before each input.
void SetKnownClassifier() {
    ClassifyDone = true;
    DiscLastGroup = 1;
    ClassTermUsed = {{true, true, false, true}};
    ClassCoefficients[0] = {0.0, -3.0, 4.0};
    ClassCoefficients[1] = {0.0, 0.5, -0.25};
    ClassCoefficients[2] = {0.0, 0.0, 0.0};
    ClassCoefficients[3] = {0.0, 1.5, 2.0};
    GroupColors = {};
    GroupColors[0] = 255;
    GroupColors[1] = 65280;
}

bool IsKnownClassifier() {
    const std::vector<double> Expected[] = {{0.0, -3.0, 4.0}, {0.0, 0.5, -0.25}, {0.0, 0.0, 0.0}, {0.0, 1.5, 2.0}};
    for (int T = 0; T < 4; ++T)
        if (ClassCoefficients[T] != Expected[T]) return false;
    TCheckedArray<TColor, kMaxLastGroup + 1> Colors{};
    Colors[0] = 255;
    Colors[1] = 65280;
    return ClassifyDone && DiscLastGroup == 1 && ClassTermUsed == TTermFlags{{true, true, false, true}} &&
           GroupColors == Colors;
}

bool IsWholeClassifier() {
    if (!ClassifyDone || DiscLastGroup < 1 || DiscLastGroup > kMaxLastGroup) return false;
    for (const std::vector<double>& Term : ClassCoefficients) {
        if (Term.size() != std::size_t(DiscLastGroup) + 2) return false;
        for (double C : Term)
            if (!std::isfinite(C)) return false;
    }
    for (int K = 0; K <= DiscLastGroup; ++K)
        if (GroupColors[K] < 0 || GroupColors[K] > 0xFFFFFF) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    kInput.Write(Data, Size);
    SetKnownClassifier();
    if (LoadClassifierFile(QString::fromStdString(kInput.Path))) {
        if (!IsKnownClassifier()) std::abort();
        return 0;
    }
    if (!IsWholeClassifier()) std::abort();
    // What is saved reads back to the same classifier: every number that a
    // score adds (the constant always, a colour term when its flag is on).
    const TClassifierFile Saved = ActiveClassifierFile();
    const QByteArray Text = ClassifierFileText(Saved);
    QString Error;
    const std::optional<TClassifierFile> Again = ReadClassifierFile(Text, Error);
    if (!Again || Again->LastGroup != DiscLastGroup || Again->TermUsed != ClassTermUsed || Again->Colors != Saved.Colors)
        std::abort();
    for (int T = 0; T < 4; ++T)
        if ((T == 0 || ClassTermUsed[T]) && Again->Coefficients[T] != ClassCoefficients[T]) std::abort();
    if (ClassifierFileText(*Again) != Text) std::abort();
    return 0;
}
