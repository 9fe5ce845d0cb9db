#pragma once
// What the object benchmarks share: binary masks written as BMP files
// (target white on black) and removed at exit, the circle that makes the
// whole 12-megapixel picture the analysis area of a gap fraction, and the
// GUI application that text on pictures needs.
#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "BenchTempFile.h"
#include "analysis/core/GlobalSettings.h"

namespace tam32::bench {

class TMaskFile {
public:
    // Mask: Width x Height bytes, nonzero for a target pixel.
    TMaskFile(const std::string& Tag, int Width, int Height, const uint8_t* Mask) : FPath(TempFileName(Tag, ".bmp")) {
        QImage image(Width, Height, QImage::Format_Grayscale8);
        for (int y = 0; y < Height; ++y) {
            uint8_t* row = image.scanLine(y);
            for (int x = 0; x < Width; ++x)
                row[x] = Mask[std::size_t(y) * std::size_t(Width) + std::size_t(x)] ? 255 : 0;
        }
        image.convertToFormat(QImage::Format_RGB888).save(QString::fromStdString(FPath), "BMP");
    }
    ~TMaskFile() { std::filesystem::remove(FPath); }
    TMaskFile(const TMaskFile&) = delete;
    TMaskFile& operator=(const TMaskFile&) = delete;
    QString Name() const { return QString::fromStdString(FPath); }

private:
    std::string FPath;
};

// A circle through the corners of a W x H picture, bright pixels as the target.
inline void PublishWholePictureCircle(int W, int H) {
    CircleSet = true;
    CircleX = W / 2;
    CircleY = H / 2;
    CircleR = int(std::ceil(std::hypot(W / 2.0, H / 2.0)));
    CircleCenterOffset = 0.0;
    ThresholdCondition = 0;
    ThresholdMethod = 2;
    FixedThreshold = 128;
}

inline void EnsureGuiApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tam32_bench";
    static char* argv[] = {name, nullptr};
    static const std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace tam32::bench
