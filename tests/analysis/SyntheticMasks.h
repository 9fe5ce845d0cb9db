#pragma once
// Binary masks of known make for the object and skeleton tests, computed in
// integers only, so that every build and every outside tool that reads them
// sees the same pixels: smoothed noise fields cut at a quantile (canopy
// gaps, leaf blobs) and a disc. A mask holds 1 for a target pixel, row by
// row from the top.
#include <algorithm>
#include <cstdint>
#include <vector>

namespace tam32::test {

struct TMask {
    int Width = 0, Height = 0;
    std::vector<uint8_t> Pixels;
    uint8_t& At(int X, int Y) { return Pixels[std::size_t(Y) * std::size_t(Width) + std::size_t(X)]; }
    uint8_t At(int X, int Y) const { return Pixels[std::size_t(Y) * std::size_t(Width) + std::size_t(X)]; }
};

inline uint64_t SplitMix64(uint64_t& State) {
    uint64_t Z = (State += 0x9E3779B97F4A7C15ull);
    Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9ull;
    Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBull;
    return Z ^ (Z >> 31);
}

namespace detail {
// One pass of a box mean of radius R along rows (Step 1) or columns (Step
// Width), the edges repeated, truncating.
inline void BoxMean(std::vector<int32_t>& Field, int Width, int Height, int R, bool Rows) {
    const int Count = Rows ? Width : Height, Lines = Rows ? Height : Width;
    const std::size_t Step = Rows ? 1 : std::size_t(Width), LineStep = Rows ? std::size_t(Width) : 1;
    std::vector<int32_t> Line(static_cast<std::size_t>(Count));
    for (int L = 0; L < Lines; ++L) {
        int32_t* Base = Field.data() + std::size_t(L) * LineStep;
        for (int I = 0; I < Count; ++I) Line[std::size_t(I)] = Base[std::size_t(I) * Step];
        const auto At = [&](int I) { return int64_t(Line[std::size_t(std::clamp(I, 0, Count - 1))]); };
        int64_t Sum = 0;
        for (int I = -R; I <= R; ++I) Sum += At(I);
        for (int I = 0; I < Count; ++I) {
            Base[std::size_t(I) * Step] = int32_t(Sum / (2 * R + 1));
            Sum += At(I + R + 1) - At(I - R);
        }
    }
}
}  // namespace detail

// Uniform noise smoothed by three box means of radius R along rows and
// columns (close to a Gaussian of sigma sqrt(R (R + 1))), then cut so that
// the values above the cut, about Fraction of the pixels, are the target.
inline TMask NoiseMask(int Width, int Height, int R, double Fraction, uint64_t Seed) {
    std::vector<int32_t> Field(std::size_t(Width) * std::size_t(Height));
    for (int32_t& V : Field) V = int32_t(SplitMix64(Seed) >> 48);
    for (int Pass = 0; Pass < 3; ++Pass) {
        detail::BoxMean(Field, Width, Height, R, true);
        detail::BoxMean(Field, Width, Height, R, false);
    }
    std::vector<int32_t> Sorted = Field;
    const auto Cut = Sorted.begin() + std::ptrdiff_t(double(Sorted.size() - 1) * (1.0 - Fraction));
    std::nth_element(Sorted.begin(), Cut, Sorted.end());
    TMask Mask{Width, Height, std::vector<uint8_t>(Field.size())};
    for (std::size_t I = 0; I < Field.size(); ++I) Mask.Pixels[I] = Field[I] > *Cut ? 1 : 0;
    return Mask;
}

// Pixels whose centres lie within R of (Cx, Cy) set.
inline void AddDisc(TMask& Mask, int Cx, int Cy, int R) {
    for (int Y = 0; Y < Mask.Height; ++Y)
        for (int X = 0; X < Mask.Width; ++X)
            if (int64_t(X - Cx) * (X - Cx) + int64_t(Y - Cy) * (Y - Cy) <= int64_t(R) * R) Mask.At(X, Y) = 1;
}

// Everything within Margin of the edge cleared.
inline void ClearBorder(TMask& Mask, int Margin) {
    for (int Y = 0; Y < Mask.Height; ++Y)
        for (int X = 0; X < Mask.Width; ++X)
            if (X < Margin || Y < Margin || X >= Mask.Width - Margin || Y >= Mask.Height - Margin) Mask.At(X, Y) = 0;
}

// The masks whose objects and skeletons were measured by outside tools.
// 160 x 120: a disc of radius 20 about (35, 60) and small blobs right of
// column 70.
inline TMask DiscAndBlobsMask() {
    TMask Mask = NoiseMask(160, 120, 2, 0.15, 20);
    for (int Y = 0; Y < Mask.Height; ++Y)
        for (int X = 0; X < 70; ++X) Mask.At(X, Y) = 0;
    AddDisc(Mask, 35, 60, 20);
    ClearBorder(Mask, 2);
    return Mask;
}

// 4000 x 3000 canopy gaps: Gap 0.2 with radius 4 (many small gaps), Gap 0.5
// with radius 10 (few large ones).
inline TMask CanopyMask(double Gap) {
    return Gap < 0.35 ? NoiseMask(4000, 3000, 4, Gap, 4) : NoiseMask(4000, 3000, 10, Gap, 10);
}

// 600 x 400 blobs of radius 8 covering Fraction of the picture, off the edge.
inline TMask LeafBlobsMask(uint64_t Seed, double Fraction) {
    TMask Mask = NoiseMask(600, 400, 8, Fraction, Seed);
    ClearBorder(Mask, 3);
    return Mask;
}

}  // namespace tam32::test
