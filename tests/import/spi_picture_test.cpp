// The picture classes built on the plug-ins: the analysis image and the
// plug-in bitmap. Which reader goes first, what the caller sees of progress
// and failure, palettes, assignment.
#include <gtest/gtest.h>

#include "import/SPIExceptions.h"
#include "import/SPIGraphic.h"
#include "platform/Canvas.h"
#include "plugins/TestPicture.h"
#include "spi_test_util.h"

using namespace tam32;
using namespace tam32::test;

namespace {

class PictureTest : public HostTest {
protected:
    QString File(const QString& Name, const std::vector<uint8_t>& Bytes) {
        const QString file = Work.filePath(Name);
        WriteBytes(file, Bytes);
        return file;
    }
    // A real BMP file of W x H 24-bit pixels, all of one colour.
    QString BmpFile(const QString& Name, int W, int H, TColor Color) {
        TPxDIB dib;
        dib.SetBitCount(24);
        dib.SetWidth(W);
        dib.SetHeight(H);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) dib.SetPixels(x, y, Color);
        const QString file = Work.filePath(Name);
        dib.SaveToFile(file);
        return file;
    }
    static bool PluginsAsked(const std::vector<ProgressReport>& Log) {
        for (const ProgressReport& r : Log)
            if (r.Msg == QLatin1String("Loading Graphic by Susie Plugin")) return true;
        return false;
    }
};

TEST_F(PictureTest, ABmpNameGoesToTheModelFirstAnyOtherToThePlugins) {
    HostWith({"tst_bmp", "tst_in"});
    const QString realBmp = BmpFile(QStringLiteral("real.BMP"), 3, 2, RGBToColor(9, 8, 7));
    std::vector<ProgressReport> log;
    TSPIPxDIB dib;
    dib.OnProgress = RecordProgress(log);
    dib.LoadFromFile(realBmp);
    EXPECT_FALSE(PluginsAsked(log));
    EXPECT_EQ(dib.GetPixels(1, 1), RGBToColor(9, 8, 7));

    // A ".bmp" the model cannot read still reaches the plug-ins.
    log.clear();
    dib.LoadFromFile(File(QStringLiteral("fake.bmp"), MakeTestPicture(4, 3, 24)));
    EXPECT_TRUE(PluginsAsked(log));
    EXPECT_EQ(dib.Width(), 4);

    // Any other name asks the plug-ins first, and the model when they fail.
    log.clear();
    const QString bmpBytes = BmpFile(QStringLiteral("b.bmp"), 5, 1, clWhite);
    QFile::rename(bmpBytes, Work.filePath(QStringLiteral("b.tst")));
    dib.LoadFromFile(Work.filePath(QStringLiteral("b.tst")));
    EXPECT_TRUE(PluginsAsked(log));
    EXPECT_EQ(dib.Width(), 5);
}

TEST_F(PictureTest, TheCallerSeesOneEndingReport) {
    HostWith({"tst_in"});
    std::vector<ProgressReport> log;
    TSPIPxDIB dib;
    dib.OnProgress = RecordProgress(log);
    dib.LoadFromFile(File(QStringLiteral("p.tst"), MakeTestPicture(6, 4, 24)));
    int endings = 0;
    for (const ProgressReport& r : log) {
        EXPECT_EQ(r.Sender, &dib);
        if (r.Stage == TProgressStage::psEnding) ++endings;
    }
    EXPECT_EQ(endings, 1);
    const ProgressReport& last = log.back();
    EXPECT_EQ(last.Stage, TProgressStage::psEnding);
    EXPECT_EQ(last.Percent, 100);
    EXPECT_TRUE(last.RedrawNow);
    EXPECT_EQ(last.R, Rect(0, 0, 6, 4));
    EXPECT_EQ(last.Msg, QStringLiteral("Loaded Graphic"));
}

TEST_F(PictureTest, AnUnreadablePictureLeavesTheImageAsItWas) {
    HostWith({"tst_in"});
    std::vector<ProgressReport> log;
    TSPIPxDIB dib;
    dib.LoadFromFile(File(QStringLiteral("p.tst"), MakeTestPicture(6, 4, 24)));
    dib.OnProgress = RecordProgress(log);
    try {
        dib.LoadFromFile(File(QStringLiteral("bad.tst"), std::vector<uint8_t>(300, 7)));
        FAIL() << "loaded";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Susie Plugins could not decode"));
    }
    EXPECT_EQ(dib.Width(), 6);
    EXPECT_EQ(log.back().Msg, QStringLiteral("Loaded Graphic"));
    EXPECT_EQ(log.back().R, Rect(0, 0, 6, 4));
    EXPECT_THROW(dib.LoadFromGraphic(nullptr), EInvalidGraphic);
}

TEST_F(PictureTest, AStreamGoesToThePluginsFirst) {
    HostWith({"tst_in"});
    TSPIPxDIB dib;
    TMemoryStream picture(MakeTestPicture(3, 3, 8));
    dib.LoadFromStream(picture);
    EXPECT_EQ(dib.Width(), 3);
    TFileStream bmp(BmpFile(QStringLiteral("s.bmp"), 2, 2, clBlack));
    dib.LoadFromStream(bmp);
    EXPECT_EQ(dib.Width(), 2);
}

TEST_F(PictureTest, ItsStreamLoaderCannotBeReplaced) {
    HostWith({"tst_in"});
    TSPIPxDIB dib;
    bool replaced = false;
    dib.SetOnLoadFromStreamWithName([&](TStream&, const QString&) { replaced = true; });
    TMemoryStream picture(MakeTestPicture(5, 2, 24));
    dib.OnLoadFromStreamWithName()(picture, QStringLiteral("x.tst"));
    EXPECT_FALSE(replaced);
    EXPECT_EQ(dib.Width(), 5);

    TSPIBitmap bitmap;
    bitmap.SetOnLoadFromStreamWithName([&](TStream&, const QString&) { replaced = true; });
    bitmap.OnLoadFromStreamWithName()(picture, QStringLiteral("x.tst"));
    EXPECT_FALSE(replaced);
    EXPECT_EQ(bitmap.Width(), 5);
}

TEST_F(PictureTest, TrueColourPicturesGetAPaletteOnlyWhenTheModeAsks) {
    HostWith({"tst_in"});
    const QString file = File(QStringLiteral("p.tst"), MakeTestPicture(8, 8, 24));
    const auto colorsAfterLoad = [&](uint8_t Mode, bool LowColor) {
        OverrideLowColorScreen(LowColor);
        TSPIPxDIB dib;
        dib.PaletteMode = Mode;
        dib.LoadFromFile(file);
        EXPECT_EQ(dib.GetBitCount(), 24);
        return dib.DIB().Infos.Header.biClrUsed;
    };
    EXPECT_EQ(colorsAfterLoad(1, false), 0u);
    EXPECT_GT(colorsAfterLoad(1, true), 0u);
    EXPECT_GT(colorsAfterLoad(2, false), 0u);
    EXPECT_EQ(colorsAfterLoad(0, true), 0u);
    OverrideLowColorScreen(std::nullopt);
    // No screen here: not a low-colour one.
    EXPECT_FALSE(LowColorScreen());
}

TEST_F(PictureTest, AssigningAPluginPictureCopiesIt) {
    HostWith({"tst_in"});
    TSPIGraphic graphic;
    graphic.LoadFromFile(File(QStringLiteral("p.tst"), MakeTestPicture(5, 3, 4)));
    TSPIPxDIB dib;
    dib.Assign(&graphic);
    EXPECT_FALSE(graphic.Empty());
    EXPECT_EQ(dib.GetBitCount(), 4);
    EXPECT_TRUE(ColorAt(dib, 4, 2) == TestExpected(4, 2, 4));

    TSPIPxDIB other;
    other.PaletteMode = 2;
    dib.Assign(&other);
    EXPECT_EQ(dib.PaletteMode, 2);
}

TEST_F(PictureTest, ThePluginPictureDrawsItselfTheRightWayUp) {
    HostWith({"tst_in"});
    QImage target(5, 3, QImage::Format_BGR888);
    target.fill(Qt::black);
    TCanvas canvas(&target);
    TSPIGraphic graphic;
    graphic.Draw(canvas, Rect(0, 0, 5, 3));  // nothing loaded: nothing drawn
    EXPECT_EQ(target.pixel(0, 0), qRgb(0, 0, 0));
    graphic.LoadFromFile(File(QStringLiteral("p.tst"), MakeTestPicture(5, -3, 8)));
    graphic.Draw(canvas, Rect(0, 0, 5, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const RGBTRIPLE e = TestExpected(x, y, 8);
            EXPECT_EQ(target.pixel(x, y), qRgb(e.rgbtRed, e.rgbtGreen, e.rgbtBlue)) << x << "," << y;
        }
}

TEST_F(PictureTest, TheBitmapKeepsAFourBitColourTable) {
    HostWith({"tst_in"});
    TSPIBitmap bitmap;
    bitmap.LoadFromFile(File(QStringLiteral("p.tst"), MakeTestPicture(5, 3, 4)));
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf4bit);
    const HPALETTE palette = bitmap.GetPalette();
    ASSERT_NE(palette, nullptr);
    ASSERT_EQ(palette->Entries().size(), 16u);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(palette->Entries()[static_cast<size_t>(i)].peGreen, TestColor(i).rgbGreen);
    const QRgb pixel = bitmap.Image().pixel(4, 2);
    const RGBTRIPLE expected = TestExpected(4, 2, 4);
    EXPECT_EQ(pixel, qRgb(expected.rgbtRed, expected.rgbtGreen, expected.rgbtBlue));

    TSPIGraphic graphic;
    graphic.LoadFromFile(File(QStringLiteral("q.tst"), MakeTestPicture(2, 2, 4)));
    TSPIBitmap assigned;
    assigned.Assign(&graphic);
    EXPECT_EQ(assigned.GetPalette()->Entries().size(), 16u);
    EXPECT_EQ(assigned.Width(), 2);
}

TEST_F(PictureTest, TheBitmapReadsBmpFilesItselfFirst) {
    HostWith({"tst_bmp"});
    std::vector<ProgressReport> log;
    TSPIBitmap bitmap;
    bitmap.OnProgress = RecordProgress(log);
    bitmap.LoadFromFile(BmpFile(QStringLiteral("x.bmp"), 3, 3, RGBToColor(1, 2, 3)));
    EXPECT_FALSE(PluginsAsked(log));
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf24bit);
    bitmap.LoadFromFile(File(QStringLiteral("y.bmp"), MakeTestPicture(4, 4, 8)));
    EXPECT_TRUE(PluginsAsked(log));
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf8bit);

    EXPECT_THROW(bitmap.LoadFromFile(File(QStringLiteral("z.bmp"), std::vector<uint8_t>(10, 1))), EInvalidGraphic);
    EXPECT_EQ(bitmap.Width(), 4);
    EXPECT_EQ(log.back().Msg, QStringLiteral("Loaded Graphic"));
}

}  // namespace
