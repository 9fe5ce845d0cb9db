#include "analysis/corrections/CircleSampling.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace tam32 {
namespace {

// Columns between the four being summed and the four whose pixels are
// being fetched: far enough for memory to answer, near enough that the
// fetched rows are still cached when their turn comes.
constexpr int kAhead = 32;

void PutSample(const TBilinearSampler& Source, double X, double Y, uint8_t* Pixel) {
    int Red, Green, Blue;
    Source.SampleBilinear(Red, Green, Blue, X, Y);
    Pixel[0] = uint8_t(Blue);
    Pixel[1] = uint8_t(Green);
    Pixel[2] = uint8_t(Red);
}

#if defined(__x86_64__)
// What the four-at-once sum reads: the picture by byte offsets from its top
// row, and the circle.
struct TFourAtOnce {
    const TBilinearSampler& Source;
    const uint8_t* Top;
    int Stride;  // from a row to the one below, negative for a picture stored bottom-up
    int Width, Height;
    double CentreX, CentreY, Radius;
    const double* Cos;
    const double* Sin;
};

// The positions of Column and the three after it.
__attribute__((target("avx2"))) inline void PositionsOf(const TFourAtOnce& Circle, int Column, __m256d& X, __m256d& Y) {
    const __m256d Radius = _mm256_set1_pd(Circle.Radius);
    X = _mm256_add_pd(_mm256_set1_pd(Circle.CentreX), _mm256_mul_pd(Radius, _mm256_loadu_pd(Circle.Cos + Column)));
    Y = _mm256_sub_pd(_mm256_set1_pd(Circle.CentreY), _mm256_mul_pd(Radius, _mm256_loadu_pd(Circle.Sin + Column)));
}

// The shuffle that takes byte Index of each lane's word alone.
constexpr char Lone(int Index, int Byte) { return Byte % 4 ? char(-1) : char(Byte + Index); }
__attribute__((target("avx2"))) inline __m128i ByteOfEachWord(int Index) {
    return _mm_setr_epi8(Lone(Index, 0), Lone(Index, 1), Lone(Index, 2), Lone(Index, 3), Lone(Index, 4), Lone(Index, 5),
                         Lone(Index, 6), Lone(Index, 7), Lone(Index, 8), Lone(Index, 9), Lone(Index, 10),
                         Lone(Index, 11), Lone(Index, 12), Lone(Index, 13), Lone(Index, 14), Lone(Index, 15));
}

// One channel of four samples, a lane each: the cell's four pixels times
// their weights added to 0 in SampleBilinear's order, then rounded and held
// to 0..255 as its channels are (the sums are finite: below 1 gives 0, from
// 255 on 255, else the whole part). Left and Right pick the channel's byte
// from the words of the cell's left and right pixels.
__attribute__((target("avx2"))) inline __m128i ChannelOf(const __m128i (&Cell)[4], const __m256d (&Weights)[4],
                                                         __m128i Left, __m128i Right) {
    const __m128i Pick[4] = {Left, Right, Left, Right};
    __m256d Sum = _mm256_setzero_pd();
    for (int P = 0; P < 4; ++P)
        Sum = _mm256_add_pd(Sum, _mm256_mul_pd(_mm256_cvtepi32_pd(_mm_shuffle_epi8(Cell[P], Pick[P])), Weights[P]));
    const __m256d Held = _mm256_min_pd(_mm256_max_pd(_mm256_add_pd(Sum, _mm256_set1_pd(0.5)), _mm256_setzero_pd()),
                                       _mm256_set1_pd(255.0));
    return _mm256_cvttpd_epi32(Held);
}

// Columns 0 .. 4·k - 1 of Row, k as many whole fours as there are; returns
// 4·k. Where all four positions have their cells in the picture, their
// sums run side by side; where all four lie far outside, they are black;
// anywhere else each column is sampled on its own.
__attribute__((target("avx2"))) int SampleFours(const TFourAtOnce& Circle, int Columns, uint8_t* Row) {
    const int* const Words = reinterpret_cast<const int*>(Circle.Top);
    const __m256d One = _mm256_set1_pd(1.0), Before = _mm256_set1_pd(-2.0), Width = _mm256_set1_pd(Circle.Width),
                  Height = _mm256_set1_pd(Circle.Height);
    // A cell's top left pixel lies at 0..Width - 2, 0..Height - 2.
    const __m128i None = _mm_set1_epi32(-1), Nought = _mm_setzero_si128();
    const __m128i LastX = _mm_set1_epi32(Circle.Width - 2), LastY = _mm_set1_epi32(Circle.Height - 2);
    const __m128i EndX = _mm_set1_epi32(Circle.Width - 1), EndY = _mm_set1_epi32(Circle.Height - 1);
    const __m128i Three = _mm_set1_epi32(3), Stride = _mm_set1_epi32(Circle.Stride);
    // The words of the cell's right pixels start at their left neighbour's
    // red byte, so that no word reaches past the cell.
    const __m128i Right = _mm_set1_epi32(2), BelowRight = _mm_set1_epi32(Circle.Stride + 2);
    const __m128i Bytes[4] = {ByteOfEachWord(0), ByteOfEachWord(1), ByteOfEachWord(2), ByteOfEachWord(3)};
    const __m128i Packed = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int Column = 0;
    for (; Column + 4 <= Columns; Column += 4) {
        uint8_t* const Pixels = Row + std::size_t(Column) * 3;
        __m256d X, Y;
        PositionsOf(Circle, Column + kAhead, X, Y);
        const __m128i AheadX = _mm_min_epi32(_mm_max_epi32(_mm256_cvttpd_epi32(X), Nought), LastX);
        const __m128i AheadY = _mm_min_epi32(_mm_max_epi32(_mm256_cvttpd_epi32(Y), Nought), LastY);
        alignas(16) int Ahead[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(Ahead),
                        _mm_add_epi32(_mm_mullo_epi32(AheadY, Stride), _mm_mullo_epi32(AheadX, Three)));
        for (const int Offset : Ahead) {
            _mm_prefetch(reinterpret_cast<const char*>(Circle.Top + Offset), _MM_HINT_T0);
            _mm_prefetch(reinterpret_cast<const char*>(Circle.Top + Offset + Circle.Stride), _MM_HINT_T0);
        }

        PositionsOf(Circle, Column, X, Y);
        // Toward zero, as SampleBilinear truncates; a position beyond the
        // integers gives the lowest one, outside.
        const __m128i Ix = _mm256_cvttpd_epi32(X), Iy = _mm256_cvttpd_epi32(Y);
        const __m128i Inside = _mm_and_si128(_mm_and_si128(_mm_cmpgt_epi32(Ix, None), _mm_cmpgt_epi32(EndX, Ix)),
                                             _mm_and_si128(_mm_cmpgt_epi32(Iy, None), _mm_cmpgt_epi32(EndY, Iy)));
        if (_mm_movemask_epi8(Inside) != 0xFFFF) {
            // SampleBilinear's first test: black where no neighbour can lie in the picture.
            const __m256d Near = _mm256_and_pd(
                _mm256_and_pd(_mm256_cmp_pd(X, Before, _CMP_GT_OQ), _mm256_cmp_pd(X, Width, _CMP_LT_OQ)),
                _mm256_and_pd(_mm256_cmp_pd(Y, Before, _CMP_GT_OQ), _mm256_cmp_pd(Y, Height, _CMP_LT_OQ)));
            if (_mm256_movemask_pd(Near) == 0) {
                std::memset(Pixels, 0, 12);
                continue;
            }
            alignas(32) double Xs[4], Ys[4];
            _mm256_store_pd(Xs, X);
            _mm256_store_pd(Ys, Y);
            for (int I = 0; I < 4; ++I) PutSample(Circle.Source, Xs[I], Ys[I], Pixels + 3 * I);
            continue;
        }
        const __m256d Fx = _mm256_sub_pd(X, _mm256_cvtepi32_pd(Ix)), Fy = _mm256_sub_pd(Y, _mm256_cvtepi32_pd(Iy));
        const __m256d Gx = _mm256_sub_pd(One, Fx), Gy = _mm256_sub_pd(One, Fy);
        const __m256d Weights[4] = {_mm256_mul_pd(Gx, Gy), _mm256_mul_pd(Fx, Gy), _mm256_mul_pd(Gx, Fy),
                                    _mm256_mul_pd(Fx, Fy)};
        const __m128i At = _mm_add_epi32(_mm_mullo_epi32(Iy, Stride), _mm_mullo_epi32(Ix, Three));
        // Each lane's word: the blue, green and red of a left pixel with the
        // next byte, or the byte before and the blue, green and red of a
        // right one.
        const __m128i Cell[4] = {_mm_i32gather_epi32(Words, At, 1),
                                 _mm_i32gather_epi32(Words, _mm_add_epi32(At, Right), 1),
                                 _mm_i32gather_epi32(Words, _mm_add_epi32(At, Stride), 1),
                                 _mm_i32gather_epi32(Words, _mm_add_epi32(At, BelowRight), 1)};
        const __m128i Blue = ChannelOf(Cell, Weights, Bytes[0], Bytes[1]);
        const __m128i Green = ChannelOf(Cell, Weights, Bytes[1], Bytes[2]);
        const __m128i Red = ChannelOf(Cell, Weights, Bytes[2], Bytes[3]);
        const __m128i Words4 = _mm_or_si128(Blue, _mm_or_si128(_mm_slli_epi32(Green, 8), _mm_slli_epi32(Red, 16)));
        const __m128i Twelve = _mm_shuffle_epi8(Words4, Packed);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(Pixels), Twelve);
        const int Last = _mm_extract_epi32(Twelve, 2);
        std::memcpy(Pixels + 8, &Last, 4);
    }
    return Column;
}
#endif

}  // namespace

TCircleSampler::TCircleSampler(const TPxDIB& Source, double CentreX, double CentreY, int Columns, double Step)
    : FSource(Source), FPicture(Source), FCentreX(CentreX), FCentreY(CentreY), FColumns(Columns) {
    FCos.resize(std::size_t(Columns + kAhead));
    FSin.resize(std::size_t(Columns + kAhead));
    for (int Column = 0; Column < Columns + kAhead; ++Column) {
        FCos[std::size_t(Column)] = std::cos(Column * Step);
        FSin[std::size_t(Column)] = std::sin(Column * Step);
    }
#if defined(__x86_64__)
    static const bool HasAvx2 = __builtin_cpu_supports("avx2");
    const int W = FPicture.Width(), H = FPicture.Height();
    if (HasAvx2 && W >= 2 && H >= 2) {
        const std::ptrdiff_t Stride = FPicture.Row(1) - FPicture.Row(0);
        FFourAtOnce = std::abs(Stride) <= std::numeric_limits<int32_t>::max() / H;
    }
#endif
}

void TCircleSampler::SampleRow(double Radius, uint8_t* Row) const {
    int Column = 0;
#if defined(__x86_64__)
    if (FFourAtOnce) {
        const int Stride = int(FPicture.Row(1) - FPicture.Row(0));
        const TFourAtOnce Circle{FSource, FPicture.Row(0), Stride, FPicture.Width(), FPicture.Height(),
                                 FCentreX, FCentreY, Radius, FCos.data(), FSin.data()};
        Column = SampleFours(Circle, FColumns, Row);
    }
#endif
    for (; Column < FColumns; ++Column)
        PutSample(FSource, FCentreX + Radius * FCos[std::size_t(Column)], FCentreY - Radius * FSin[std::size_t(Column)],
                  Row + std::size_t(Column) * 3);
}

}  // namespace tam32
