#pragma once
// One bit for each pixel of a picture, for the pixels that a pass marks
// before anything is painted (the gaps of a gap fraction run, the sun's
// track through the gaps). Each row starts on a word of its own, so passes
// on several threads mark the rows of their own blocks without sharing a word.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tam32 {

class TPixelBits {
public:
    TPixelBits() = default;
    // Every pixel clear.
    TPixelBits(int Width, int Height)
        : FWidth(Width), FHeight(Height), FWordsPerRow((std::size_t(Width) + 63) / 64),
          FWords(FWordsPerRow * std::size_t(Height), 0) {}

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Contains(int X, int Y) const { return X >= 0 && Y >= 0 && X < FWidth && Y < FHeight; }
    // X and Y must lie in the picture.
    void Set(int X, int Y) { Word(X, Y) |= Bit(X); }
    // Sets the pixel when On, without a branch.
    void Mark(int X, int Y, bool On) { Word(X, Y) |= uint64_t(On) << (X & 63); }
    bool Test(int X, int Y) const { return (Word(X, Y) & Bit(X)) != 0; }
    // Visit(X) for each set pixel of row Y, from the left.
    template <typename TVisit>
    void ForEachSet(int Y, TVisit&& Visit) const {
        const uint64_t* Row = &FWords[std::size_t(Y) * FWordsPerRow];
        for (std::size_t W = 0; W < FWordsPerRow; ++W)
            for (uint64_t Bits = Row[W]; Bits != 0; Bits &= Bits - 1) Visit(int(W * 64 + std::countr_zero(Bits)));
    }

private:
    static uint64_t Bit(int X) { return uint64_t(1) << (X & 63); }
    uint64_t& Word(int X, int Y) { return FWords[std::size_t(Y) * FWordsPerRow + std::size_t(X >> 6)]; }
    const uint64_t& Word(int X, int Y) const { return FWords[std::size_t(Y) * FWordsPerRow + std::size_t(X >> 6)]; }

    int FWidth = 0, FHeight = 0;
    std::size_t FWordsPerRow = 0;
    std::vector<uint64_t> FWords;
};

}  // namespace tam32
