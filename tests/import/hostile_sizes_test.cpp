// Hostile sizes cost nothing: a small file that declares a huge picture, huge
// tiles or strips beyond its end is refused before anything is allocated for
// what it declares (no block above 150 MB is asked for), and a picture beyond
// the image model's 2 GB is refused as too large. Absurd densities are
// clamped, not converted out of range.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "import/SPIGraphic.h"
#include "import/SPIPxDIB.h"
#include "import/UnreadablePicture.h"
#include "largest_allocation.h"
#include "picture_writers.h"
#include "spi_test_util.h"

namespace tam32::test {
namespace {

constexpr size_t kMostAllowed = 150u << 20;

using HostileSizesTest = OwnPluginsTest;

uint16_t BigEndian16(const uint8_t* Bytes) { return static_cast<uint16_t>(Bytes[0] << 8 | Bytes[1]); }

// A JPEG whose frame header declares Width × Height.
std::vector<uint8_t> JpegDeclaring(std::vector<uint8_t> Bytes, uint16_t Width, uint16_t Height) {
    for (size_t i = 2; i + 9 < Bytes.size(); i += 2 + BigEndian16(&Bytes[i + 2])) {
        if (Bytes[i + 1] != 0xC0 && Bytes[i + 1] != 0xC2) continue;
        Bytes[i + 5] = static_cast<uint8_t>(Height >> 8);
        Bytes[i + 6] = static_cast<uint8_t>(Height);
        Bytes[i + 7] = static_cast<uint8_t>(Width >> 8);
        Bytes[i + 8] = static_cast<uint8_t>(Width);
        return Bytes;
    }
    ADD_FAILURE() << "no frame header";
    return Bytes;
}

uint32_t Crc32(const uint8_t* Data, size_t Size) {
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 0; i < Size; ++i) {
        crc ^= Data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void PutBigEndian32(uint8_t* Out, uint32_t Value) {
    for (int i = 0; i < 4; ++i) Out[i] = static_cast<uint8_t>(Value >> (24 - 8 * i));
}

// A PNG whose header chunk declares Width × Height (its checksum made anew).
std::vector<uint8_t> PngDeclaring(std::vector<uint8_t> Bytes, uint32_t Width, uint32_t Height) {
    constexpr size_t kHeaderChunk = 8;  // after the signature: length, "IHDR", 13 bytes of data, CRC
    PutBigEndian32(&Bytes[kHeaderChunk + 8], Width);
    PutBigEndian32(&Bytes[kHeaderChunk + 12], Height);
    PutBigEndian32(&Bytes[kHeaderChunk + 21], Crc32(&Bytes[kHeaderChunk + 4], 17));
    return Bytes;
}

// A little-endian TIFF whose first directory gives Tag the single LONG Value.
std::vector<uint8_t> TiffWith(std::vector<uint8_t> Bytes, uint16_t Tag, uint32_t Value) {
    uint32_t directory;
    std::memcpy(&directory, &Bytes[4], 4);
    uint16_t entries;
    std::memcpy(&entries, &Bytes[directory], 2);
    for (uint16_t i = 0; i < entries; ++i) {
        uint8_t* entry = &Bytes[directory + 2 + 12 * i];
        uint16_t tag;
        std::memcpy(&tag, entry, 2);
        if (tag != Tag) continue;
        const uint16_t longType = TIFF_LONG;
        const uint32_t one = 1;
        std::memcpy(entry + 2, &longType, 2);
        std::memcpy(entry + 4, &one, 4);
        std::memcpy(entry + 8, &Value, 4);
        return Bytes;
    }
    ADD_FAILURE() << "no tag " << Tag;
    return Bytes;
}

std::vector<uint8_t> TiffDeclaring(std::vector<uint8_t> Bytes, uint32_t Width, uint32_t Height) {
    return TiffWith(TiffWith(std::move(Bytes), TIFFTAG_IMAGEWIDTH, Width), TIFFTAG_IMAGELENGTH, Height);
}

TEST_F(HostileSizesTest, AreRefusedBeforeAnythingIsAllocatedForThem) {
    const auto written = [this](const char* Name, const auto& Write, const auto& Spec) {
        const QString file = Path(Name);
        Write(file, Spec);
        return ReadBytes(file);
    };
    const auto writePng = [](const QString& F, const PngSpec& S) { WritePng(F, S); };
    const auto writeTiff = [](const QString& F, const TiffSpec& S) { WriteTiff(F, S); };
    const std::vector<uint8_t> smallProgressive =
        WriteJpeg({.Width = 8, .Height = 8, .Components = 1, .Scans = JpegScans::Progressive});
    const std::vector<uint8_t> png = written("w.png", writePng, PngSpec{.Width = 130, .Height = 100});
    const std::vector<uint8_t> strips =
        written("s.tif", writeTiff, TiffSpec{.Width = 130, .Height = 100, .OneStrip = true});
    const std::vector<uint8_t> lzw = written(
        "l.tif", writeTiff, TiffSpec{.Width = 130, .Height = 100, .Compression = COMPRESSION_LZW, .OneStrip = true});
    const std::vector<uint8_t> tiles =
        written("t.tif", writeTiff, TiffSpec{.Width = 130, .Height = 100, .Tiled = true});
    // Four-bit colour goes through libtiff's RGBA reader.
    const std::vector<uint8_t> rgba = written(
        "r.tif", writeTiff, TiffSpec{.Width = 130, .Height = 100, .Bits = 4, .Compression = COMPRESSION_LZW});
    const struct {
        const char* Name;
        std::vector<uint8_t> Bytes;
        TPictureFault Fault;
    } cases[] = {
        {"progressive of 30000 x 30000.jpg", JpegDeclaring(smallProgressive, 30000, 30000), TPictureFault::Damaged},
        {"baseline of 20000 x 20000.jpg", JpegDeclaring(WriteJpeg({}), 20000, 20000), TPictureFault::Damaged},
        {"of 20000 x 20000.png", PngDeclaring(png, 20000, 20000), TPictureFault::Damaged},
        {"of 32768 x 32768 tiles.tif",
         TiffWith(TiffWith(tiles, TIFFTAG_TILEWIDTH, 32768), TIFFTAG_TILELENGTH, 32768), TPictureFault::Damaged},
        {"strip beyond its end.tif", TiffWith(strips, TIFFTAG_STRIPOFFSETS, 1'000'000'000), TPictureFault::Damaged},
        {"raw of 130 x 500000.tif",
         TiffWith(TiffWith(strips, TIFFTAG_IMAGELENGTH, 500'000), TIFFTAG_ROWSPERSTRIP, 500'000),
         TPictureFault::Damaged},
        {"compressed of 10000 x 10000.tif",
         TiffWith(TiffDeclaring(lzw, 10000, 10000), TIFFTAG_ROWSPERSTRIP, 10000), TPictureFault::Damaged},
        {"four-bit of 10000 x 8000.tif", TiffDeclaring(rgba, 10000, 8000), TPictureFault::Damaged},
        // Data enough for its blocks, but beyond the 2 GB of a 24-bit picture.
        {"of 30000 x 24000.jpg",
         [&] {
             std::vector<uint8_t> bytes = JpegDeclaring(smallProgressive, 30000, 24000);
             bytes.resize(1'500'000);
             return bytes;
         }(),
         TPictureFault::TooLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString file = Path(c.Name);
        WriteBytes(file, c.Bytes);
        const TAllocationWatch watch;
        ExpectRefused(file, c.Fault);
        EXPECT_LE(watch.Largest(), kMostAllowed);
    }
}

TEST_F(HostileSizesTest, AbsurdDensitiesAreClamped) {
    const QString jpeg = Path("dense.jpg");
    // 65535 dots per centimetre.
    WriteBytes(jpeg, WriteJpeg({.DensityUnit = 2, .Density = 65535}));
    const QString png = Path("dense.png");
    WritePng(png, {.PixelsPerMetre = 0x7FFFFFFF});
    const QString tiff = Path("dense.tif");
    WriteTiff(tiff, {.Resolution = 4e9f});
    for (const QString& file : {jpeg, png, tiff}) {
        SCOPED_TRACE(file.toStdString());
        TSPIGraphic graphic;
        graphic.LoadFromFile(file);
        ASSERT_TRUE(graphic.Data->PictureInfoValid);
        EXPECT_EQ(graphic.Data->PictureInfo.x_density, 65535);
        EXPECT_EQ(graphic.Data->PictureInfo.y_density, 65535);
    }
}

}  // namespace
}  // namespace tam32::test
