#pragma once
// The classifier of the classification benchmarks: groups about colours
// spread from black to (255, 230, 210), each function that of the nearest
// mean under equal unit variances, so that the groups share the pixels.
#include <cstdint>
#include <vector>

#include "analysis/core/Classifier.h"
#include "analysis/core/GlobalSettings.h"
#include "platform/WinTypes.h"

namespace tam32::bench {

inline void SetClassifier(int Groups) {
    ClassifyDone = true;
    DiscLastGroup = Groups - 1;
    ClassTermUsed = {{true, true, true, true}};
    for (std::vector<double>& Term : ClassCoefficients) Term.assign(std::size_t(Groups) + 1, 0.0);
    for (int K = 1; K <= Groups; ++K) {
        const double Mean[3] = {255.0 * K / Groups, 230.0 * K / Groups, 210.0 * K / Groups};
        ClassCoefficients[0][K] = -(Mean[0] * Mean[0] + Mean[1] * Mean[1] + Mean[2] * Mean[2]) / 2.0;
        for (int C = 0; C < 3; ++C) ClassCoefficients[C + 1][K] = Mean[C];
        GroupColors[K - 1] = RGBToColor(uint8_t(K * 12), uint8_t(255 - K * 12), uint8_t(K * 5));
    }
}

}  // namespace tam32::bench
