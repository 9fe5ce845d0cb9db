// Run-length decoding of RLE8 and RLE4 pixel blocks into the uncompressed
// layout, written straight into the final block. Every code is checked
// against the end of the compressed data and against the image bounds, so a
// damaged block is refused instead of being read or written past its end.
#include <algorithm>
#include <cstring>

#include "image/PxConvert.h"
#include "image/PxConvertSupport.h"
#include "image/PxMemory.h"

namespace tam32 {
namespace {

constexpr uint8_t kEndOfLine = 0;
constexpr uint8_t kEndOfBitmap = 1;
constexpr uint8_t kDelta = 2;

[[noreturn]] void BadRleData(const char* Routine, int Code) {
    throw EPxDIBInvalidDIB(QString::fromLatin1(Routine) + QStringLiteral(": Bad RLE Data ") +
                           QString::number(Code));
}

// Reading side of a compressed block: every request for bytes fails with
// "Bad RLE Data 0" once the block is exhausted.
class TRleReader {
public:
    TRleReader(const TPxDIBInfos& Source, const char* Routine)
        : FData(Source.Bits), FSize(Source.Bits == nullptr ? 0 : Source.BitsSize), FRoutine(Routine) {}

    // Returns a pointer to the next Count bytes and moves past Advance bytes
    // (Advance >= Count: absolute runs are padded to whole words).
    const uint8_t* Take(int64_t Count, int64_t Advance) {
        if (FSize - FPos < Count) BadRleData(FRoutine, 0);
        const uint8_t* p = FData + FPos;
        FPos += Advance;
        return p;
    }
    const uint8_t* Take(int64_t Count) { return Take(Count, Count); }

private:
    const uint8_t* FData;
    int64_t FSize;
    int64_t FPos = 0;
    const char* FRoutine;
};

// Pixel X of a 4-bit row: an even column sets the high nibble and clears the
// low one, an odd column sets the low nibble.
inline void PutNibble(uint8_t* Row, int64_t X, uint8_t Value) {
    uint8_t& b = Row[X >> 1];
    b = (X & 1) == 0 ? static_cast<uint8_t>(Value << 4) : static_cast<uint8_t>((b & 0xF0) | Value);
}

// The decoding loop common to both depths. Policy supplies the row limit,
// the error codes and the way runs are stored.
template <class Policy>
void DecodeRle(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) {
    CheckSourceFormat(Source, Policy::kBitCount, Policy::kCompression, Policy::kRoutine);
    const TPxConvertGeometry g = ConvertGeometry(Source, Policy::kBitCount, Policy::kRoutine);
    const int64_t limit = Policy::RowLimit(g.Width, g.Stride);
    const int64_t kept = Policy::kKeepPadding ? limit : g.Width;

    TPxDIBInfos result = RecordWithoutBlock(Source);
    TPxBitsGuard guard(result, UseFileMapping);
    GetMemory(result, g.BlockSize(), UseFileMapping);  // zero-filled: skipped pixels stay 0

    TRleReader reader(Source, Policy::kRoutine);
    int64_t x = 0;
    int64_t row = 0;
    for (;;) {
        const uint8_t* code = reader.Take(2);
        const uint8_t first = code[0];
        const uint8_t second = code[1];
        if (first > 0) {
            if (x + first > limit || row >= g.Height) BadRleData(Policy::kRoutine, Policy::kBadRun);
            if (x < kept) Policy::PutRun(result.Bits + row * g.Stride, x, std::min<int64_t>(first, kept - x), second);
            x += first;
        } else if (second == kEndOfLine) {
            x = 0;
            if (++row > g.Height) BadRleData(Policy::kRoutine, Policy::kBadEndOfLine);
        } else if (second == kEndOfBitmap) {
            break;
        } else if (second == kDelta) {
            const uint8_t* delta = reader.Take(2);
            x += delta[0];
            row += delta[1];
            if (x > limit || row > g.Height) BadRleData(Policy::kRoutine, Policy::kBadDelta);
        } else {
            const int64_t n = second;
            if (x + n > limit || row >= g.Height) BadRleData(Policy::kRoutine, Policy::kBadAbsolute);
            const uint8_t* bytes = reader.Take(Policy::AbsoluteBytes(n), Policy::AbsoluteAdvance(n));
            if (x < kept) Policy::PutAbsolute(result.Bits + row * g.Stride, x, std::min<int64_t>(n, kept - x), bytes);
            x += n;
        }
    }

    result.Header.biCompression = BI_RGB;
    result.Header.biSizeImage = 0;
    guard.Release();
    Dest = result;
}

struct TRle8Policy {
    static constexpr uint16_t kBitCount = 8;
    static constexpr uint32_t kCompression = BI_RLE8;
    static constexpr const char* kRoutine = "Convert8BitRLETo8BitRGB";
    static constexpr int kBadEndOfLine = 1;
    static constexpr int kBadDelta = 2;
    static constexpr int kBadAbsolute = 3;
    static constexpr int kBadRun = 4;

    // Runs may fill the padding of a row, as some encoders write them; only
    // the pixels of the image are kept.
    static int64_t RowLimit(int64_t, int64_t Stride) { return Stride; }
    static constexpr bool kKeepPadding = false;
    static int64_t AbsoluteBytes(int64_t N) { return N; }
    static int64_t AbsoluteAdvance(int64_t N) { return (N + 1) & ~int64_t{1}; }
    static void PutRun(uint8_t* Row, int64_t X, int64_t N, uint8_t Value) {
        std::memset(Row + X, Value, static_cast<size_t>(N));
    }
    static void PutAbsolute(uint8_t* Row, int64_t X, int64_t N, const uint8_t* Bytes) {
        std::memcpy(Row + X, Bytes, static_cast<size_t>(N));
    }
};

struct TRle4Policy {
    static constexpr uint16_t kBitCount = 4;
    static constexpr uint32_t kCompression = BI_RLE4;
    static constexpr const char* kRoutine = "Convert4BitRLETo4BitRGB";
    static constexpr int kBadEndOfLine = 5;
    static constexpr int kBadDelta = 6;
    static constexpr int kBadAbsolute = 7;
    static constexpr int kBadRun = 8;

    // A row may be filled up to the padding nibble of an odd width.
    static int64_t RowLimit(int64_t Width, int64_t) { return (Width + 1) & ~int64_t{1}; }
    static constexpr bool kKeepPadding = true;
    static int64_t AbsoluteBytes(int64_t N) { return (N + 1) / 2; }
    static int64_t AbsoluteAdvance(int64_t N) { return ((N + 3) / 4) * 2; }
    // An encoded run alternates the two nibbles of its value, high first.
    static void PutRun(uint8_t* Row, int64_t X, int64_t N, uint8_t Value) {
        const uint8_t nibbles[2] = {static_cast<uint8_t>(Value >> 4), static_cast<uint8_t>(Value & 0x0F)};
        for (int64_t i = 0; i < N; ++i) PutNibble(Row, X + i, nibbles[i & 1]);
    }
    static void PutAbsolute(uint8_t* Row, int64_t X, int64_t N, const uint8_t* Bytes) {
        for (int64_t i = 0; i < N; ++i) {
            const uint8_t b = Bytes[i >> 1];
            PutNibble(Row, X + i, (i & 1) == 0 ? static_cast<uint8_t>(b >> 4) : static_cast<uint8_t>(b & 0x0F));
        }
    }
};

}  // namespace

void Convert8BitRLETo8BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) {
    DecodeRle<TRle8Policy>(Source, Dest, UseFileMapping);
}

void Convert4BitRLETo4BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) {
    DecodeRle<TRle4Policy>(Source, Dest, UseFileMapping);
}

}  // namespace tam32
