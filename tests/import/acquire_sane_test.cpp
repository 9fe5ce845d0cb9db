// Acquisition from SANE's "test" backend through the source manager library.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "common/private_dir.h"

#include "common/required_tool.h"
#include "image/PxDIB.h"
#include "import/AcquireImage.h"
#include "common/widget_app_env.h"
#include "import/acquire_dib_view.h"
#include "import/acquire_sane_setup.h"

namespace tam32::test {
namespace {

using Errors = std::vector<std::pair<int, int>>;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

class SaneAcquireTest : public ::testing::Test {
protected:
    void SetUp() override {
        RequireWidgetApp();
        ASSERT_TRUE(TestBackendInstalled()) << "SANE's test backend is missing: install the Debian package libsane1";
        FLive = LiveMemoryHandleCount();
    }
    void TearDown() override {
        GlobalFree(Dib);
        EXPECT_EQ(LiveMemoryHandleCount(), FLive) << "a memory handle was leaked";
    }

    // The frame's steps with a named source and the native transfer; the
    // picture stays in Dib.
    TW_UINT16 Scan(const SaneTestPicture& Picture) {
        EXPECT_TRUE(SetUpSane(Picture));
        GlobalFree(Dib);
        Dib = nullptr;
        Reported.clear();
        TAcquireImage client;
        client.SHOWhideUI = false;
        client.OnTwainError = [this](TObject*, int State, int Error) { Reported.emplace_back(State, Error); };
        EXPECT_TRUE(client.LoadSourceManager());
        client.OpenSourceManager();
        client.SelectSourceByName("test:0");
        client.OpenSource();
        const TW_UINT16 result = client.AcquireNative(Dib);
        EXPECT_EQ(client.CloseSource(), TWRC_SUCCESS);
        EXPECT_TRUE(client.UnloadSourceManager());
        return result;
    }
    DibView ScanPicture(const SaneTestPicture& Picture) {
        EXPECT_EQ(Scan(Picture), TWRC_SUCCESS);
        EXPECT_TRUE(Reported.empty());
        EXPECT_TRUE(IsValidMemoryHandle(Dib)) << "the picture must be one of the program's own handles";
        return ViewOf(Dib);
    }
    // Every pixel as SANE's own frontend scans it now (cut to the picture's width).
    static void ExpectAsFrontend(const DibView& View, int Tolerance = 0) {
        TAM32_REQUIRE_TOOL("scanimage", "sane-utils");
        const QImage scanned = ScannedByFrontend().convertToFormat(QImage::Format_RGB32);
        ASSERT_TRUE(View.Valid);
        ASSERT_GE(scanned.width(), View.Width());
        ASSERT_EQ(scanned.height(), View.Height());
        for (int y = 0; y < View.Height(); ++y)
            for (int x = 0; x < View.Width(); ++x) {
                const QRgb a = View.Pixel(x, y), b = scanned.pixel(x, y);
                ASSERT_LE(
                    std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)),
                    3 * Tolerance)
                    << "at " << x << "," << y;
            }
    }

    HGLOBAL Dib = nullptr;
    Errors Reported;

private:
    size_t FLive = 0;
};

// 10 mm squares: white at the top left, black beside and below it, and
// black again at the bottom left of a 100 mm high picture.
void ExpectGrid(const DibView& View) {
    ASSERT_TRUE(View.Valid);
    EXPECT_EQ(View.Pixel(5, 5), kWhite);
    EXPECT_EQ(View.Pixel(30, 5), kBlack);
    EXPECT_EQ(View.Pixel(5, 30), kBlack);
    EXPECT_EQ(View.Pixel(5, 185), kBlack);
}

const SaneTestPicture kPattern{.Picture = "Color pattern", .Resolution = 100, .WidthMm = 30, .HeightMm = 20};

TEST_F(SaneAcquireTest, GreyAndColourAreBottomUpAtTheDevicesResolution) {
    const DibView grey = ScanPicture({.Mode = "Gray"});
    ExpectGrid(grey);
    EXPECT_EQ(grey.Width(), 157);  // 80 mm at 50 dpi
    EXPECT_EQ(grey.Height(), 196);
    EXPECT_EQ(grey.Header.biBitCount, 8);
    ASSERT_EQ(grey.Table.size(), 256u);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(grey.Table[size_t(i)], qRgb(i, i, i));
    EXPECT_EQ(grey.Header.biXPelsPerMeter, 1969);
    EXPECT_EQ(grey.Header.biYPelsPerMeter, 1969);
    const DibView colour = ScanPicture({.Mode = "Color"});
    ExpectGrid(colour);
    EXPECT_EQ(colour.Header.biBitCount, 24);
    EXPECT_TRUE(colour.Table.empty());
    SaneTestPicture pattern = kPattern;
    pattern.Mode = "Color";
    ExpectAsFrontend(ScanPicture(pattern));
}

TEST_F(SaneAcquireTest, OneAndSixteenBitSamplesBecomeEightBitOnes) {
    for (const QByteArray mode : {"Gray", "Color"}) {
        SCOPED_TRACE(mode.toStdString());
        SaneTestPicture pattern = kPattern;
        pattern.Mode = mode;
        pattern.Depth = 16;
        // The frontend scales 16-bit samples where we keep the high byte.
        ExpectAsFrontend(ScanPicture(pattern), 1);
        // A set bit is black in line art, full intensity in colour.
        ExpectGrid(ScanPicture({.Mode = mode, .Depth = 1}));
    }
    SaneTestPicture lineArt = kPattern;
    lineArt.Depth = 1;
    ExpectAsFrontend(ScanPicture(lineArt));
}

TEST_F(SaneAcquireTest, ThreePassFramesAreJoinedInAnyOrder) {
    for (const QByteArray order : {"RGB", "BGR", "GRB"}) {
        SCOPED_TRACE(order.toStdString());
        SaneTestPicture pattern = kPattern;
        pattern.Mode = "Color";
        pattern.ThreePass = true;
        pattern.ThreePassOrder = order;
        ExpectAsFrontend(ScanPicture(pattern));
    }
}

TEST_F(SaneAcquireTest, AHandScannerOfUnknownLengthAndPaddedLinesAreRead) {
    const DibView hand = ScanPicture({.Mode = "Color", .Picture = "Color pattern", .HandScanner = true});
    EXPECT_EQ(hand.Width(), 216);  // a fixed 11 cm
    ExpectAsFrontend(hand);
    // The frontend writes the lost pixels out: compare with a picture without them.
    const DibView padded = ScanPicture({.Picture = "Color pattern", .PixelsLostPerLine = 5});
    EXPECT_EQ(padded.Width(), 152);
    ASSERT_TRUE(SetUpSane({.Picture = "Color pattern"}));
    ExpectAsFrontend(padded);
}

TEST_F(SaneAcquireTest, WithoutADeviceNothingIsAcquired) {
    EXPECT_EQ(Scan({.WithBackend = false}), 0x8000 + TWCC_BADDEST);
    EXPECT_EQ(Dib, nullptr);
    // The name is no source, so nothing is opened, and what is not open cannot be enabled.
    EXPECT_EQ(Reported, (Errors{{3, TWRC_ENDOFLIST}, {4, TWRC_CANCEL}, {5, 0x8000 + TWCC_BADDEST}}));
}

// One scan by the probe in a process of its own, which gives its exit code
// and what it reported. SANE's test backend stops its reader thread
// asynchronously, which now and then deadlocks in the allocator when a scan
// is broken off early; a hung attempt is killed and made again. The probe
// unloads SANE, whose static data the leak checker would count.
std::pair<int, QString> ProbeScan(const QString& Output) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":detect_leaks=0");
    for (int attempt = 0; attempt < 3; ++attempt) {
        QProcess probe;
        probe.setProcessEnvironment(environment);
        probe.start(QDir(TAM32_BIN_DIR).filePath("tam32-probe"), {"scan", Output, "--device", "test:0"});
        if (probe.waitForFinished(15000))
            return {probe.exitCode(), QString::fromUtf8(probe.readAllStandardError())};
        probe.kill();
        probe.waitForFinished();
    }
    return {-1, "hung"};
}

TEST(SaneProbeTest, TheProbeWritesTheScanOrReportsAFailureAfterTheTransfer) {
    const QTemporaryDir folder;
    const QString output = folder.filePath("scan.bmp");
    for (const auto& [status, result] :
         std::vector<std::pair<QByteArray, int>>{{"SANE_STATUS_IO_ERROR", 0x8000 + TWCC_BUMMER},
                                                 {"SANE_STATUS_JAMMED", 0x8000 + TWCC_PAPERJAM},
                                                 {"SANE_STATUS_NO_MEM", 0x8000 + TWCC_LOWMEMORY},
                                                 {"SANE_STATUS_CANCELLED", TWRC_CANCEL}}) {
        SCOPED_TRACE(status.toStdString());
        ASSERT_TRUE(SetUpSane({.ReadStatus = status}));
        const QString reported = QString("scan: state 7, error %1\nscan: no picture (result %1)\n").arg(result);
        EXPECT_EQ(ProbeScan(output), std::make_pair(1, reported));
        EXPECT_FALSE(QFile::exists(output));
    }
    ASSERT_TRUE(SetUpSane({.Mode = "Color"}));
    EXPECT_EQ(ProbeScan(output), std::make_pair(0, QString()));
    TPxDIB picture;
    picture.LoadFromFile(output);
    EXPECT_EQ(picture.Width(), 157);
    EXPECT_EQ(picture.Height(), 196);
    EXPECT_EQ(picture.GetBitCount(), 24);
}

TEST_F(SaneAcquireTest, AMissingLibraryOrEntryPointLeavesNothingLoaded) {
    TAcquireImage client;
    const QString shipped = client.LibraryFileName;
    client.LibraryFileName += ".missing";
    EXPECT_FALSE(client.LoadSourceManager());
    // The manager in a folder that others may write is not loaded either.
    TPrivateTemporaryDir folder;
    client.LibraryFileName = folder.filePath(QStringLiteral("twain_32.so"));
    ASSERT_TRUE(QFile::copy(shipped, client.LibraryFileName));
    ASSERT_TRUE(QFile::setPermissions(folder.path(), QFileDevice::Permissions(0x7777)));
    EXPECT_FALSE(client.LoadSourceManager());
    ASSERT_TRUE(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    ASSERT_TRUE(client.LoadSourceManager());
    EXPECT_TRUE(client.UnloadSourceManager());
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&qVersion), &info), 0);
    client.LibraryFileName = QString::fromLocal8Bit(info.dli_fname);  // a library, but no manager
    EXPECT_FALSE(client.LoadSourceManager());
    EXPECT_EQ(client.LibraryHandle, nullptr);
}

}  // namespace
}  // namespace tam32::test
