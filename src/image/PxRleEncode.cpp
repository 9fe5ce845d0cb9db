// Run-length encoding of 8- and 4-bit images into RLE8 and RLE4. Both depths
// share one state machine over the bytes of a row; they differ in the length
// limit and in how runs and literals are written. Output is always bottom-up
// and must fit into the size of the uncompressed image.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "image/PxConvert.h"
#include "image/PxConvertSupport.h"
#include "image/PxMemory.h"

namespace tam32 {
namespace {

// Space each write needs left in the work buffer: its own bytes plus room
// for the end-of-line and end-of-bitmap codes that must still follow.
constexpr int64_t kRunSpace = 6;
constexpr int64_t kLiteralReserve = 6;  // besides the padded literal bytes
constexpr int64_t kEndOfLineSpace = 4;
constexpr int64_t kEndOfBitmapSpace = 2;

// The work buffer, sized like the uncompressed image; each write first checks
// that it leaves room for the closing codes.
class TRleOutput {
public:
    TRleOutput(int64_t Capacity, const char* Routine)
        : FBuffer(new (std::nothrow) uint8_t[static_cast<size_t>(Capacity)]), FCapacity(Capacity),
          FRoutine(Routine) {
        if (!FBuffer) throw EOutOfMemory(QStringLiteral("Out of memory"));
    }

    void Reserve(int64_t Needed) const {
        if (FCapacity - FLength < Needed)
            throw EPxDIBCompressionFailed(QString::fromLatin1(FRoutine) +
                                          QStringLiteral(": Compression Failed"));
    }
    void Put(uint8_t A, uint8_t B) {
        FBuffer[FLength] = A;
        FBuffer[FLength + 1] = B;
        FLength += 2;
    }
    // An absolute run: the count, the bytes and a pad byte to a whole word.
    void PutAbsolute(uint8_t Count, const uint8_t* Bytes, int64_t N) {
        Put(0, Count);
        std::memcpy(&FBuffer[FLength], Bytes, static_cast<size_t>(N));
        FLength += N;
        if (N & 1) FBuffer[FLength++] = 0;
    }
    void EndOfLine() {
        Reserve(kEndOfLineSpace);
        Put(0, 0);
    }
    void EndOfBitmap() {
        Reserve(kEndOfBitmapSpace);
        Put(0, 1);
    }
    const uint8_t* Data() const { return FBuffer.get(); }
    int64_t Length() const { return FLength; }

private:
    std::unique_ptr<uint8_t[]> FBuffer;
    int64_t FCapacity;
    int64_t FLength = 0;
    const char* FRoutine;
};

int64_t PaddedLiteralSpace(int64_t N) { return ((N + 1) / 2) * 2 + kLiteralReserve; }

// RLE8: counts are bytes; literals of one or two bytes go out as runs of 1.
class TRle8Writer {
public:
    static constexpr int64_t kLimit = 255;
    explicit TRle8Writer(TRleOutput& Out) : FOut(Out) {}
    void StartRow() {}
    void Run(int64_t N, uint8_t Value) {
        FOut.Reserve(kRunSpace);
        FOut.Put(static_cast<uint8_t>(N), Value);
    }
    void Literal(const uint8_t* Bytes, int64_t N) {
        if (N <= 2) {
            for (int64_t i = 0; i < N; ++i) Run(1, Bytes[i]);
            return;
        }
        FOut.Reserve(PaddedLiteralSpace(N));
        FOut.PutAbsolute(static_cast<uint8_t>(N), Bytes, N);
    }

private:
    TRleOutput& FOut;
};

// RLE4: the machine runs over bytes of two pixels; counts are pixels, cut to
// what is left of the row so that an odd width is never overrun.
class TRle4Writer {
public:
    static constexpr int64_t kLimit = 127;
    TRle4Writer(TRleOutput& Out, int64_t Width) : FOut(Out), FWidth(Width) {}
    void StartRow() { FPixelsLeft = FWidth; }
    void Run(int64_t N, uint8_t Value) {
        FOut.Reserve(kRunSpace);
        FOut.Put(TakePixels(N), Value);
    }
    void Literal(const uint8_t* Bytes, int64_t N) {
        if (N == 1) {
            Run(1, Bytes[0]);
            return;
        }
        FOut.Reserve(PaddedLiteralSpace(N));
        FOut.PutAbsolute(TakePixels(N), Bytes, N);
    }

private:
    uint8_t TakePixels(int64_t Bytes) {
        const int64_t pixels = std::min(Bytes * 2, FPixelsLeft);
        FPixelsLeft -= pixels;
        return static_cast<uint8_t>(pixels);
    }
    TRleOutput& FOut;
    int64_t FWidth;
    int64_t FPixelsLeft = 0;
};

// Encodes one row of Count bytes. Equal neighbours form encoded runs,
// different ones gather into a literal; a byte equal to the last literal byte
// leaves the literal and starts a run of two. Literals are slices of the row,
// so nothing is copied until they are written.
template <class Writer>
void EncodeRow(const uint8_t* Row, int64_t Count, Writer& W) {
    constexpr int64_t limit = Writer::kLimit;
    W.StartRow();
    int64_t start = 0;  // first byte of the pending byte or the literal
    int64_t i = 1;
    enum { kPending, kRun, kLiteral } state = kPending;
    int64_t length = 1;  // run or literal length
    uint8_t value = Row[0];
    for (;;) {
        switch (state) {
        case kPending:
            if (i == Count) {
                W.Run(1, Row[start]);
                return;
            }
            value = Row[start];
            length = 2;
            state = Row[i] == value ? kRun : kLiteral;
            ++i;
            break;
        case kRun:
            while (i < Count && length < limit && Row[i] == value) {
                ++length;
                ++i;
            }
            W.Run(length, value);
            if (i == Count) return;
            start = i++;
            state = kPending;
            break;
        case kLiteral:
            while (i < Count && length < limit && Row[i] != Row[i - 1]) {
                ++length;
                ++i;
            }
            if (i == Count) {
                W.Literal(Row + start, length);
                return;
            }
            if (Row[i] == Row[i - 1]) {
                W.Literal(Row + start, length - 1);
                value = Row[i];
                length = 2;
                state = kRun;
            } else {  // the literal is full
                W.Literal(Row + start, length);
                start = i;
                state = kPending;
            }
            ++i;
            break;
        }
    }
}

// Encodes the image from its bottom row upward and installs the output in a
// block of exactly its length.
template <class Writer, class... WriterArgs>
void EncodeImage(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping, uint16_t BitCount,
                 uint32_t Compression, const char* Routine, WriterArgs... Args) {
    CheckSourceFormat(Source, BitCount, BI_RGB, Routine);
    const TPxConvertGeometry g = ConvertGeometry(Source, BitCount, Routine);
    CheckUncompressedSource(Source, g.Stride, g.Height, Routine);
    const int64_t rowBytes = (g.Width * BitCount + 7) / 8;

    TRleOutput out(g.BlockSize(), Routine);
    Writer writer(out, Args...);
    const bool topDown = Source.Header.biHeight < 0;
    for (int64_t r = 0; r < g.Height; ++r) {
        const int64_t blockRow = topDown ? g.Height - 1 - r : r;
        EncodeRow(Source.Bits + blockRow * g.Stride, rowBytes, writer);
        out.EndOfLine();
    }
    out.EndOfBitmap();

    TPxDIBInfos result = RecordWithoutBlock(Source);
    TPxBitsGuard guard(result, UseFileMapping);
    GetMemory(result, out.Length(), UseFileMapping);
    std::memcpy(result.Bits, out.Data(), static_cast<size_t>(out.Length()));
    result.Header.biHeight = static_cast<int32_t>(g.Height);
    result.Header.biCompression = Compression;
    result.Header.biSizeImage = result.BitsSize;
    guard.Release();
    Dest = result;
}

}  // namespace

void Convert8BitRGBTo8BitRLE(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) {
    EncodeImage<TRle8Writer>(Source, Dest, UseFileMapping, 8, BI_RLE8, "Convert8BitRGBTo8BitRLE");
}

void Convert4BitRGBTo4BitRLE(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) {
    EncodeImage<TRle4Writer>(Source, Dest, UseFileMapping, 4, BI_RLE4, "Convert4BitRGBTo4BitRLE",
                             static_cast<int64_t>(Source.Header.biWidth));
}

}  // namespace tam32
