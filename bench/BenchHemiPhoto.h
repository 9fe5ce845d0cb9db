#pragma once
// The 12-megapixel hemispherical photograph of the analysis benchmarks: a
// bright sky disc of radius 1480 with dark leaf patches, both with some
// grain, black outside; red is raised over the whole disc. The circle
// settings publish that disc with bright sky as the gap.
#include <QImage>
#include <algorithm>
#include <cstdint>
#include <random>

#include "analysis/GlobalSettings.h"

namespace tam32::bench {

constexpr int kPhotoWidth = 4000, kPhotoHeight = 3000, kPhotoRadius = 1480;

inline QImage HemisphericalPhoto() {
    QImage Image(kPhotoWidth, kPhotoHeight, QImage::Format_RGB888);
    std::mt19937 Random(4711);
    std::uniform_int_distribution<int> Grain(-10, 10);
    for (int Y = 0; Y < kPhotoHeight; ++Y) {
        uint8_t* Row = Image.scanLine(Y);
        for (int X = 0; X < kPhotoWidth; ++X) {
            const double Dx = X + 0.5 - kPhotoWidth / 2, Dy = Y + 0.5 - kPhotoHeight / 2;
            const bool Inside = Dx * Dx + Dy * Dy <= double(kPhotoRadius) * kPhotoRadius;
            const bool Leaf = ((X / 53) ^ (Y / 41)) % 3 == 0;
            const int Sky = std::clamp(200 + Grain(Random), 0, 255), Dark = std::clamp(40 + Grain(Random), 0, 255);
            const uint8_t V = uint8_t(!Inside ? 0 : (Leaf ? Dark : Sky));
            Row[3 * X] = uint8_t(std::min(255, V + 30 * Inside));
            Row[3 * X + 1] = V;
            Row[3 * X + 2] = V;
        }
    }
    return Image;
}

inline void PublishPhotoCircle() {
    CircleSet = true;
    CircleX = kPhotoWidth / 2;
    CircleY = kPhotoHeight / 2;
    CircleR = kPhotoRadius;
    CircleCenterOffset = 0.5;
    ThresholdCondition = 0;  // bright sky is the gap
}

}  // namespace tam32::bench
