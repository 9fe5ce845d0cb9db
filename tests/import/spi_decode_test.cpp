// Decoding through the plug-ins: what a plug-in's result must pass before
// the host reads it, handle ownership, progress and its failures, start
// offsets, previews and the two ways a picture reaches the plug-ins.
#include <gtest/gtest.h>

#include <stdexcept>

#include "import/SPIExceptions.h"
#include "import/SPIGraphic.h"
#include "import/SPIGraphicLoad.h"
#include "plugins/TestPicture.h"
#include "spi_test_util.h"

using namespace tam32;
using namespace tam32::test;

namespace {

class DecodeTest : public HostTest {
protected:
    QString Picture(const QString& Name, const std::vector<uint8_t>& Bytes) {
        const QString file = Work.filePath(Name);
        WriteBytes(file, Bytes);
        return file;
    }
    QString Picture(int32_t Width, int32_t Height, uint16_t Bits, uint32_t Faults = 0) {
        return Picture(QStringLiteral("p.tst"), MakeTestPicture(Width, Height, Bits, Faults));
    }
    // Every pixel of the loaded picture equals the test pattern.
    static void ExpectPattern(TPxDIB& Dib, int Width, int Height, int Bits) {
        ASSERT_EQ(Dib.Width(), Width);
        ASSERT_EQ(Dib.Height(), Height);
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                ASSERT_TRUE(ColorAt(Dib, x, y) == TestExpected(x, y, Bits)) << x << "," << y;
    }
    static QStringList Messages(const std::vector<ProgressReport>& Log) {
        QStringList messages;
        for (const ProgressReport& r : Log)
            if (!r.Msg.isEmpty()) messages.append(r.Msg);
        return messages;
    }
    static std::vector<int> RunningPercents(const std::vector<ProgressReport>& Log) {
        std::vector<int> percents;
        for (const ProgressReport& r : Log)
            if (r.Stage == TProgressStage::psRunning && r.Msg.isEmpty()) percents.push_back(r.Percent);
        return percents;
    }
};

struct OutputCase {
    uint16_t Bits;
    int32_t Height;
    uint32_t Faults;
};

class DecodedOutput : public DecodeTest, public ::testing::WithParamInterface<OutputCase> {};

TEST_P(DecodedOutput, ReachesTheAnalysisImageUnchanged) {
    HostWith({"tst_in"});
    const OutputCase c = GetParam();
    TSPIPxDIB dib;
    dib.LoadFromFile(Picture(7, c.Height, c.Bits, c.Faults));
    ExpectPattern(dib, 7, std::abs(c.Height), (c.Faults & kBitFields) != 0 ? 32 : c.Bits);
}

INSTANTIATE_TEST_SUITE_P(Formats, DecodedOutput,
                         ::testing::Values(OutputCase{24, 5, 0}, OutputCase{8, 5, 0}, OutputCase{4, 5, 0},
                                           OutputCase{1, 5, 0}, OutputCase{24, -5, 0}, OutputCase{8, 5, kRle8},
                                           OutputCase{24, 5, kBitFields}));

class RefusedOutput : public DecodeTest, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(RefusedOutput, IsNotDecodedAndNothingLeaks) {
    HostWith({"tst_in"});
    const QString file = Picture(5, 4, 8, GetParam());
    const size_t live = LiveMemoryHandleCount();
    TSPIGraphic graphic;
    try {
        graphic.LoadFromFile(file);
        FAIL() << "decoded";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Susie Plugins could not decode"));
    }
    EXPECT_TRUE(graphic.Empty());
    EXPECT_EQ(graphic.Data, nullptr);
    EXPECT_EQ(LiveMemoryHandleCount(), live);
}

INSTANTIATE_TEST_SUITE_P(Faults, RefusedOutput,
                         ::testing::Values(kFailPicture, kShortBits, kShortInfo, kHugeColorCount, kCoreHeaderSize,
                                           kSameHandle, kForeignBits, kNullBits, kFreedBits, kOverstatedWidth));

TEST_F(DecodeTest, ThePictureAnswersFromItsHeader) {
    HostWith({"tst_in"});
    TSPIGraphic graphic;
    graphic.LoadFromFile(Picture(7, -5, 8));
    EXPECT_EQ(graphic.Width(), 7);
    EXPECT_EQ(graphic.Height(), -5);
    EXPECT_FALSE(graphic.IsFourBit());
    ASSERT_NE(graphic.GetPalette(), nullptr);
    EXPECT_EQ(graphic.GetPalette()->Entries().size(), 256u);
    EXPECT_EQ(graphic.GetPalette()->Entries()[3].peRed, TestColor(3).rgbRed);

    // The BMP file image: 256 colours make 1064 bytes of BITMAPINFO.
    TMemoryStream stream;
    graphic.SaveToStream(stream);
    BITMAPFILEHEADER header;
    std::memcpy(&header, stream.Data().data(), sizeof header);
    EXPECT_EQ(header.bfType, kBitmapFileType);
    EXPECT_EQ(uint32_t{header.bfOffBits}, 14u + 1064u);
    EXPECT_EQ(uint32_t{header.bfSize}, 14u + 1064u + 8u * 5u);
    EXPECT_EQ(stream.Size(), int64_t{uint32_t{header.bfSize}});

    graphic.LoadFromFile(Picture(3, 2, 4));
    EXPECT_TRUE(graphic.IsFourBit());
    EXPECT_EQ(graphic.GetPalette()->Entries().size(), 16u);
    graphic.LoadFromFile(Picture(3, 2, 24));
    EXPECT_EQ(graphic.GetPalette(), nullptr);
    EXPECT_EQ(graphic.BitmapFile()->Size(), 14 + 40 + 12 * 2);
}

TEST_F(DecodeTest, PictureInfoTextIsFreedAndJunkIsLeftAlone) {
    HostWith({"tst_in"});
    const size_t live = LiveMemoryHandleCount();
    {
        TSPIGraphic graphic;
        graphic.LoadFromFile(Picture(3, 3, 24, kInfoText));
        EXPECT_TRUE(graphic.Data->PictureInfoValid);
        EXPECT_NE(graphic.Data->PictureInfo.hInfo, nullptr);
        // A failed GetPictureInfo does not keep the plug-in from decoding.
        graphic.LoadFromFile(Picture(3, 3, 24, kFailInfoWithJunk));
        EXPECT_FALSE(graphic.Data->PictureInfoValid);
        EXPECT_EQ(graphic.Data->PictureInfo.hInfo, nullptr);
    }
    EXPECT_EQ(LiveMemoryHandleCount(), live);
}

TEST_F(DecodeTest, ProgressRunsFromStartToEnd) {
    HostWith({"tst_in"});
    std::vector<ProgressReport> log;
    TSPIGraphic graphic;
    graphic.OnProgress = RecordProgress(log);
    graphic.LoadFromFile(Picture(4, 3, 24));
    EXPECT_EQ(Messages(log), (QStringList{"Loading Graphic by Susie Plugin", "Seeking enabled Susie Plugins",
                                          "Loading by [atst_in.spi]", "Loaded Graphic by Susie Plugin"}));
    // Rows 0..3 of 3: 97 * n / 3 rounded, plus 2.
    EXPECT_EQ(RunningPercents(log), (std::vector<int>{2, 34, 67, 99}));
    for (const ProgressReport& r : log) {
        EXPECT_EQ(r.Sender, &graphic);
        EXPECT_EQ(r.RedrawNow, r.Stage == TProgressStage::psEnding);
        EXPECT_EQ(r.R, TRect{});
    }
    EXPECT_EQ(log.front().Stage, TProgressStage::psStarting);
    EXPECT_EQ(log.back().Percent, 100);
}

TEST_F(DecodeTest, AZeroDenominatorIsSurvived) {
    HostWith({"tst_in"});
    std::vector<ProgressReport> log;
    TSPIGraphic graphic;
    graphic.OnProgress = RecordProgress(log);
    graphic.LoadFromFile(Picture(2, 2, 24, kZeroDenominator));
    EXPECT_EQ(RunningPercents(log).front(), 1);
}

TEST_F(DecodeTest, ASilentAbortStopsThePlugin) {
    HostWith({"tst_in"});
    int calls = 0;
    TSPIGraphic graphic;
    graphic.OnProgress = [&](TObject*, TProgressStage, uint8_t, bool, const TRect&, const QString& Msg) {
        if (!Msg.isEmpty()) return;
        ++calls;
        throw EAbort(QString());
    };
    EXPECT_THROW(graphic.LoadFromFile(Picture(4, 6, 24)), EInvalidGraphic);
    EXPECT_EQ(calls, 1);
    // A plug-in that goes on regardless has decoded the picture.
    calls = 0;
    graphic.LoadFromFile(Picture(4, 6, 24, kIgnoreStop));
    EXPECT_FALSE(graphic.Empty());
    EXPECT_EQ(calls, 7);
}

TEST_F(DecodeTest, AnyOtherHandlerFailureComesBackAfterThePluginReturned) {
    HostWith({"tst_in", "tst_nopreview"});
    for (uint32_t faults : {0u, uint32_t{kIgnoreStop}}) {
        const size_t live = LiveMemoryHandleCount();
        std::vector<ProgressReport> log;
        int calls = 0;
        TSPIGraphic graphic;
        graphic.OnProgress = [&](TObject* Sender, TProgressStage Stage, uint8_t Percent, bool Redraw, const TRect& R,
                                 const QString& Msg) {
            log.push_back({Sender, Stage, Percent, Redraw, R, Msg});
            if (Msg.isEmpty()) {
                ++calls;
                throw std::runtime_error("handler failed");
            }
        };
        EXPECT_THROW(graphic.LoadFromFile(Picture(4, 6, 24, faults)), std::runtime_error);
        // Asked once; the plug-in is only told to stop after that, and the
        // next plug-in is not asked at all.
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(Messages(log).filter(QStringLiteral("Loading by")).size(), 1);
        EXPECT_EQ(log.back().Stage, TProgressStage::psEnding);
        EXPECT_TRUE(graphic.Empty());
        EXPECT_EQ(LiveMemoryHandleCount(), live);
    }
}

TEST_F(DecodeTest, MacBinaryPicturesStart128BytesIn) {
    TSPIs& host = HostWith({"tst_in"});
    std::vector<uint8_t> bytes(128, 0xAB);
    const std::vector<uint8_t> picture = MakeTestPicture(3, 2, 24);
    bytes.insert(bytes.end(), picture.begin(), picture.end());
    const QString file = Picture(QStringLiteral("mac.tst"), bytes);
    TMemoryStream memory(bytes);

    TSPIGraphic graphic;
    graphic.LoadFromFile(file);
    EXPECT_EQ(graphic.Width(), 3);
    graphic.LoadFromStreamWithName(memory, QStringLiteral("mac.tst"));
    EXPECT_EQ(graphic.Width(), 3);

    host.MacBinary = false;
    EXPECT_THROW(graphic.LoadFromFile(file), EInvalidGraphic);
    EXPECT_THROW(graphic.LoadFromStreamWithName(memory, QStringLiteral("mac.tst")), EInvalidGraphic);
}

TEST_F(DecodeTest, DataShorterThanTheMacBinaryOffsetIsOfferedOnce) {
    HostWith({"tst_in"});
    TMemoryStream memory(std::vector<uint8_t>(100, 0x55));
    std::vector<ProgressReport> log;
    TSPIGraphic graphic;
    graphic.OnProgress = RecordProgress(log);
    EXPECT_THROW(graphic.LoadFromStream(memory), EInvalidGraphic);
    EXPECT_EQ(Messages(log).filter(QStringLiteral("Loading by")).size(), 1);
}

TEST_F(DecodeTest, APreviewIsAskedForFirstWhenWanted) {
    TSPIs& host = HostWith({"tst_in"});
    host.GraphicPreview = true;
    TSPIPxDIB dib;
    dib.LoadFromFile(Picture(6, 4, 24));
    EXPECT_EQ(dib.Width(), 1);
    EXPECT_TRUE(ColorAt(dib, 0, 0) == (RGBTRIPLE{1, 2, 3}));
}

TEST_F(DecodeTest, WithoutAPreviewExportTheFullPictureIsTaken) {
    TSPIs& host = HostWith({"tst_nopreview"});
    host.GraphicPreview = true;
    TSPIPxDIB dib;
    dib.LoadFromFile(Picture(6, 4, 24));
    ExpectPattern(dib, 6, 4, 24);
}

TEST_F(DecodeTest, TheNameWithAStreamChoosesWhoIsAskedFirst) {
    HostWith({"tst_bmp", "tst_in"});
    TMemoryStream memory(MakeTestPicture(2, 2, 24));
    for (const auto& [name, first] : {std::pair{QString(), QStringLiteral("Loading by [atst_bmp.spi]")},
                                      std::pair{QStringLiteral("x.tst"), QStringLiteral("Loading by [btst_in.spi]")}}) {
        std::vector<ProgressReport> log;
        TSPIGraphic graphic;
        graphic.OnProgress = RecordProgress(log);
        graphic.LoadFromStreamWithName(memory, name);
        EXPECT_EQ(Messages(log).filter(QStringLiteral("Loading by")), QStringList{first});
    }
}

TEST_F(DecodeTest, AMemoryStreamIsDecodedInPlaceAndAnyOtherCopied) {
    const QString file = Picture(4, 4, 24);
    TMemoryStream memory(MakeTestPicture(4, 4, 24));
    const TInSPIAbleFromStream inPlace(nullptr, QString(), memory);
    EXPECT_EQ(inPlace.Memory, memory.Memory());
    EXPECT_EQ(inPlace.OwnStream, nullptr);

    TFileStream stream(file);
    stream.SetPosition(10);
    const TInSPIAbleFromStream copied(nullptr, QString(), stream);
    ASSERT_NE(copied.OwnStream, nullptr);
    EXPECT_EQ(copied.Size, stream.Size());
    EXPECT_EQ(std::memcmp(copied.Memory, memory.Memory(), static_cast<size_t>(copied.Size)), 0);
}

TEST_F(DecodeTest, AFailedLoadPutsTheStreamBack) {
    HostWith({"tst_in"});
    TMemoryStream memory(std::vector<uint8_t>(64, 0x11));
    memory.SetPosition(5);
    EXPECT_THROW(LoadGraphicFromStream(&TSPIGraphic::ClassInfo, memory, QStringLiteral("x.tst"), &TPxDIB::ClassInfo,
                                       false, nullptr),
                 EPictureUnreadable);
    EXPECT_EQ(memory.Position(), 5);
}

TEST_F(DecodeTest, ExtractingTakesOverTheDecodedPixelsAndFreesThemWithThePicture) {
    HostWith({"tst_in"});
    const QString file = Picture(4, 3, 8);
    const size_t live = LiveMemoryHandleCount();
    {
        TSPIGraphic graphic;
        graphic.LoadFromFile(file);
        const std::unique_ptr<TGraphic> copy = SPIGraphicToGraphic(graphic, &TPxDIB::ClassInfo);
        EXPECT_FALSE(graphic.Empty());
        const std::unique_ptr<TGraphic> taken = ExtractGraphic(graphic, &TPxDIB::ClassInfo);
        EXPECT_TRUE(graphic.Empty());
        auto& copyDib = dynamic_cast<TPxDIB&>(*copy);
        auto& takenDib = dynamic_cast<TPxDIB&>(*taken);
        // The bottom row starts the stored rows: the extracted picture's is the
        // decoded block itself, the copy's a block of its own.
        EXPECT_NE(LocalHandle(takenDib.ReadScanLine(2)), nullptr);
        EXPECT_EQ(LocalHandle(copyDib.ReadScanLine(2)), nullptr);
        ExpectPattern(copyDib, 4, 3, 8);
        ExpectPattern(takenDib, 4, 3, 8);
    }
    EXPECT_EQ(LiveMemoryHandleCount(), live);
}

}  // namespace
