// A corpus of small valid BMP files of every variant, mutated byte by byte:
// whatever the reader accepts must convert cleanly, whatever it refuses must
// be refused with an exception of the model or the stream. Run under the
// sanitizers this catches over-reads that plain tests would miss. The same
// seeds start the fuzzers.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <random>

#include "bmp_builder.h"
#include "image/PxDIB.h"
#include "platform/Stream.h"

using namespace tam32;
using namespace tam32::test;

namespace {

std::vector<std::vector<uint8_t>> SeedFiles() {
    std::vector<std::vector<uint8_t>> seeds;
    for (uint16_t bits : {1, 4, 8, 16, 24, 32}) {
        for (int height : {3, -3}) {
            BmpSpec s;
            s.Width = 5;
            s.Height = height;
            s.BitCount = bits;
            s.Colors = GreyTable(GetNumColors(bits));
            for (int i = 0; i < DIBRowSize(bits, 5) * 3; ++i) s.Bits.push_back(uint8_t(i * 29));
            seeds.push_back(MakeBmp(s));
        }
    }
    BmpSpec rle8;
    rle8.Width = 6;
    rle8.Height = 3;
    rle8.BitCount = 8;
    rle8.Compression = BI_RLE8;
    rle8.Colors = GreyTable(256);
    rle8.Bits = {3, 7, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 1, 0, 2, 9, 0, 0, 6, 4, 0, 1};
    seeds.push_back(MakeBmp(rle8));
    BmpSpec rle4 = rle8;
    rle4.BitCount = 4;
    rle4.Compression = BI_RLE4;
    rle4.Colors = GreyTable(16);
    rle4.Bits = {2, 0x12, 0, 4, 0x34, 0x56, 0, 0, 0, 2, 1, 0, 3, 0x77, 0, 0, 6, 0x89, 0, 1};
    seeds.push_back(MakeBmp(rle4));
    BmpSpec fields;
    fields.Width = 2;
    fields.Height = 2;
    fields.BitCount = 16;
    fields.Compression = BI_BITFIELDS;
    fields.Masks = {0xF800, 0x07E0, 0x001F};
    fields.Bits = {1, 2, 3, 4, 5, 6, 7, 8};
    seeds.push_back(MakeBmp(fields));
    BmpSpec core;
    core.HeaderSize = 12;
    core.Width = 3;
    core.Height = 2;
    core.BitCount = 4;
    core.Colors = GreyTable(16);
    core.Bits = {0x12, 0x30, 0, 0, 0x45, 0x60, 0, 0};
    seeds.push_back(MakeBmp(core));
    return seeds;
}

// Loads and pushes the picture through the decoders and encoders.
void Exercise(const std::vector<uint8_t>& Bytes) {
    TMemoryStream stream(Bytes);
    TPxDIB dib;
    try {
        dib.LoadFromStream(stream);
        if (int64_t(dib.Width()) * dib.Height() > 1'000'000) return;
        dib.SetPixelFormat(pxPf24Bit);
        dib.SetPixelFormat(pxPf8BitRLE);
        dib.SetPixelFormat(pxPf4Bit);
        TMemoryStream out;
        dib.SaveToStream(out);
    } catch (const EPxDIBError&) {
    } catch (const EStreamError&) {
    } catch (const EOutOfMemory&) {
    }
}

}  // namespace

TEST(FuzzSeeds, WriteSeedFiles) {
    const QString dir = QStringLiteral(TAM32_BIN_DIR "/../fuzz-seeds");
    ASSERT_TRUE(QDir().mkpath(dir));
    int n = 0;
    for (const auto& seed : SeedFiles()) {
        QFile file(QStringLiteral("%1/seed%2.bmp").arg(dir).arg(n++));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(seed.data()), qint64(seed.size()));
    }
}

TEST(HostileCorpus, SeedsLoadAndConvert) {
    for (const auto& seed : SeedFiles()) {
        TMemoryStream stream(seed);
        TPxDIB dib;
        dib.LoadFromStream(stream);
        dib.SetPixelFormat(pxPf24Bit);
        EXPECT_EQ(dib.GetBitCount(), 24);
    }
}

TEST(HostileCorpus, MutatedFilesNeverEscapeTheModel) {
    std::mt19937 random(20261207);
    for (const auto& seed : SeedFiles()) {
        for (int round = 0; round < 400; ++round) {
            std::vector<uint8_t> bytes = seed;
            const int flips = 1 + int(random() % 4);
            for (int i = 0; i < flips; ++i) {
                const size_t at = random() % bytes.size();
                bytes[at] = (round % 3 == 0) ? uint8_t(random()) : uint8_t(bytes[at] ^ (1u << (random() % 8)));
            }
            if (round % 7 == 0) bytes.resize(random() % bytes.size());
            Exercise(bytes);
        }
    }
}
