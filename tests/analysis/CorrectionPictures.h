#pragma once
// Pictures for the tests of the image corrections: noise that a reference
// script can make again bit for bit (the linear congruential generator
// below, red, green and blue of each pixel in turn, rows from the top), the
// circle of a plain equidistant lens, and reading back a written picture.
#include <QImage>
#include <cstdint>
#include <vector>

#include "AnalysisFixture.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/geometry/LensProjection.h"

namespace tam32::test {

// state = state * 1103515245 + 12345 (mod 2^32); each byte is bits 16..23.
inline std::vector<TRgb> NoisePixels(int W, int H, uint32_t Seed) {
    std::vector<TRgb> Pixels(std::size_t(W) * std::size_t(H));
    uint32_t State = Seed;
    const auto Next = [&State] {
        State = State * 1103515245u + 12345u;
        return uint8_t(State >> 16);
    };
    for (TRgb& P : Pixels) {
        P.R = Next();
        P.G = Next();
        P.B = Next();
    }
    return Pixels;
}

// An equidistant circle of radius R (zenith 90 at its edge) about the
// middle of pixel (X, Y).
inline void SetEquidistantCircle(int X, int Y, int R) {
    CircleSet = true;
    CircleX = X;
    CircleY = Y;
    CircleR = R;
    CircleCenterOffset = 0.0;
    LensType = 0;
    MaxViewAngle = 90.0;
}

// Whether pixel (X, Y), tested at its corner, lies within the circle.
inline bool InCircle(int X, int Y) {
    const double Dx = X - CircleCentreX(), Dy = Y - CircleCentreY();
    return Dx * Dx + Dy * Dy <= CircleRadius() * CircleRadius();
}

inline bool SameRgb(TRgb A, TRgb B) { return A.R == B.R && A.G == B.G && A.B == B.B; }

inline TRgb PixelOf(const QImage& Image, int X, int Y) {
    const QRgb C = Image.pixel(X, Y);
    return {uint8_t(qRed(C)), uint8_t(qGreen(C)), uint8_t(qBlue(C))};
}

}  // namespace tam32::test
