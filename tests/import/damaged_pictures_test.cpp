// Damaged pictures are refused with their file and the reason, never decoded
// as whole: libjpeg fills what a cut JPEG lacks with grey and only warns, so
// a JPEG cut short (even in its last row), one whose data libjpeg finds
// corrupt, a progressive one without its last scans or of endless scans must
// fail like a cut PNG, TIFF or BMP file. A JPEG that lacks nothing but its end
// marker is whole.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>

#include "import/SPIPxDIB.h"
#include "import/UnreadablePicture.h"
#include "picture_writers.h"
#include "spi_test_util.h"

namespace tam32::test {
namespace {

using DamagedPicturesTest = OwnPluginsTest;

std::vector<uint8_t> Cut(std::vector<uint8_t> Bytes, size_t Length) {
    Bytes.resize(Length);
    return Bytes;
}

// The file up to its last scan, which is left out.
std::vector<uint8_t> WithoutLastScan(const std::vector<uint8_t>& Bytes) {
    const uint8_t startOfScan[] = {0xFF, 0xDA};
    const auto last = std::find_end(Bytes.begin(), Bytes.end(), std::begin(startOfScan), std::end(startOfScan));
    return {Bytes.begin(), last};
}

// Two stray bytes between the tables and the scan, which libjpeg reports as corrupt data.
std::vector<uint8_t> WithStrayBytes(std::vector<uint8_t> Bytes) {
    const uint8_t startOfScan[] = {0xFF, 0xDA};
    const auto scan = std::search(Bytes.begin(), Bytes.end(), std::begin(startOfScan), std::end(startOfScan));
    Bytes.insert(scan, {0x12, 0x34});
    return Bytes;
}

TEST_F(DamagedPicturesTest, AreRefusedAsDamagedNamingTheirFile) {
    const std::vector<uint8_t> baseline = WriteJpeg({.Width = 64, .Height = 64});
    const std::vector<uint8_t> progressive = WriteJpeg({.Width = 64, .Height = 64, .Scans = JpegScans::Progressive});
    const QString png = Path("whole.png");
    WritePng(png, {.Width = 200, .Height = 100});
    const QString tiff = Path("whole.tif");
    WriteTiff(tiff, {.Width = 200, .Height = 100});
    const QString bmp = Path("whole.bmp");
    ASSERT_TRUE(QImage(200, 100, QImage::Format_RGB888).save(bmp));
    const struct {
        const char* Name;
        std::vector<uint8_t> Bytes;
    } cases[] = {
        {"cut in half.jpg", Cut(baseline, baseline.size() / 2)},
        {"cut in its last row.jpg", Cut(baseline, baseline.size() - 3)},
        {"with corrupt data.jpg", WithStrayBytes(baseline)},
        {"progressive without its last scan.jpg", WithoutLastScan(progressive)},
        {"without its last component.jpg",
         WithoutLastScan(WriteJpeg({.Scans = JpegScans::ComponentByComponent}))},
        {"of 704 scans.jpg", WriteJpeg({.Width = 16, .Height = 16, .Components = 1,
                                        .Scans = JpegScans::EveryBitApart})},
        {"cut.png", Cut(ReadBytes(png), ReadBytes(png).size() / 2)},
        {"cut.tif", Cut(ReadBytes(tiff), ReadBytes(tiff).size() / 2)},
        {"cut.bmp", Cut(ReadBytes(bmp), ReadBytes(bmp).size() / 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString file = Path(c.Name);
        WriteBytes(file, c.Bytes);
        ExpectRefused(file, TPictureFault::Damaged);
    }
}

TEST_F(DamagedPicturesTest, AJpegLackingOnlyItsEndMarkerIsWhole) {
    for (JpegScans scans : {JpegScans::Baseline, JpegScans::Progressive, JpegScans::ComponentByComponent}) {
        SCOPED_TRACE(static_cast<int>(scans));
        const std::vector<uint8_t> bytes = WriteJpeg({.Width = 64, .Height = 48, .Scans = scans});
        const QString whole = Path("whole.jpg");
        const QString unended = Path("unended.jpg");
        WriteBytes(whole, bytes);
        WriteBytes(unended, Cut(bytes, bytes.size() - 2));
        TSPIPxDIB expected;
        expected.LoadFromFile(whole);
        TSPIPxDIB dib;
        dib.LoadFromFile(unended);
        ExpectPixels(dib, 64, 48, [&](int X, int Y) { return ColorAt(expected, X, Y); });
    }
}

TEST_F(DamagedPicturesTest, DataNoReaderKnowsIsNoPicture) {
    const QString file = Path("notes.jpg");
    WriteBytes(file, std::vector<uint8_t>(100, 'x'));
    ExpectRefused(file, TPictureFault::NotAPicture);
}

}  // namespace
}  // namespace tam32::test
