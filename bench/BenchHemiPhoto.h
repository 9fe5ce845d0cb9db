#pragma once
// The 12-megapixel hemispherical photograph of the analysis benchmarks: a
// bright sky disc of radius 1480 with dark leaf patches, both with some
// grain, black outside; red is raised over the whole disc. The circle
// settings publish that disc with bright sky as the gap.
#include <QDate>
#include <QImage>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

#include "BenchTempFile.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"

namespace tam32::bench {

constexpr int kPhotoWidth = 4000, kPhotoHeight = 3000, kPhotoRadius = 1480;

inline QImage HemisphericalPhoto() {
    QImage image(kPhotoWidth, kPhotoHeight, QImage::Format_RGB888);
    std::mt19937 random(4711);
    std::uniform_int_distribution<int> grain(-10, 10);
    for (int y = 0; y < kPhotoHeight; ++y) {
        uint8_t* row = image.scanLine(y);
        for (int x = 0; x < kPhotoWidth; ++x) {
            const double dx = x + 0.5 - kPhotoWidth / 2, dy = y + 0.5 - kPhotoHeight / 2;
            const bool inside = dx * dx + dy * dy <= double(kPhotoRadius) * kPhotoRadius;
            const bool leaf = ((x / 53) ^ (y / 41)) % 3 == 0;
            const int sky = std::clamp(200 + grain(random), 0, 255), dark = std::clamp(40 + grain(random), 0, 255);
            const uint8_t v = uint8_t(!inside ? 0 : (leaf ? dark : sky));
            row[3 * x] = uint8_t(std::min(255, v + 30 * inside));
            row[3 * x + 1] = v;
            row[3 * x + 2] = v;
        }
    }
    return image;
}

// The photograph as a BMP file, written on first use and removed at exit.
inline const std::string& PhotoBmpFile() {
    static const struct TPhotoFile {
        std::string Path = TempFileName("photo", ".bmp");
        TPhotoFile() { HemisphericalPhoto().save(QString::fromStdString(Path), "BMP"); }
        ~TPhotoFile() { std::filesystem::remove(Path); }
    } file;
    return file.Path;
}

inline void PublishPhotoCircle() {
    CircleSet = true;
    CircleX = kPhotoWidth / 2;
    CircleY = kPhotoHeight / 2;
    CircleR = kPhotoRadius;
    CircleCenterOffset = 0.5;
    ThresholdCondition = 0;  // bright sky is the gap
}

// The built-in settings (the target date fixed) with the photograph's circle
// published: blue channel, intermeans, lens type 5.
inline void StartFromPhotoSettings() {
    ResetSettingsToDefaults(QDate(2024, 6, 21));
    ResetAnalysisState();
    PublishPhotoCircle();
}

}  // namespace tam32::bench
