// Pictures read through the registry into 24-bit bitmaps, and the JPEG writer.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "image/bmp_builder.h"
#include "import/SPIBitmap.h"
#include "import/SPIPxDIB.h"
#include "import/SPIs.h"
#include "import/ShownPicture.h"
#include "import/UnreadablePicture.h"
#include "platform/Exceptions.h"
#include "platform/PictureFormats.h"
#include "windows/PictureFile.h"

namespace tam32 {
namespace {

class PictureFileTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        PictureFormats::RegisterFileFormat(QStringLiteral("bmp"), QStringLiteral("Bitmaps"), &TBitmap::ClassInfo);
        Plugins = new TSPIs;
        Plugins->OnPictureRegister = [](TObject*, TInSPI*, const QString&, const QString&, TGraphicClass& Class) {
            Class = &TSPIBitmap::ClassInfo;
        };
        Plugins->Search(QStringLiteral(TAM32_BIN_DIR "/*.spi"));
    }
    static void TearDownTestSuite() {
        delete Plugins;
        PictureFormats::UnregisterGraphicClass(&TSPIBitmap::ClassInfo);
        PictureFormats::UnregisterGraphicClass(&TBitmap::ClassInfo);
    }

    // A 40×30 picture of distinct smooth colours.
    static QImage Gradient() {
        QImage image(40, 30, QImage::Format_RGB888);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) image.setPixelColor(x, y, QColor(x * 6, y * 8, 128));
        return image;
    }

    static TSPIs* Plugins;
    QTemporaryDir Folder;
};

TSPIs* PictureFileTest::Plugins = nullptr;

TEST_F(PictureFileTest, ReadsBmpAndJpegAsTwentyFourBitBitmaps) {
    const QString bmp = Folder.filePath(QStringLiteral("a.BMP"));
    const QString jpg = Folder.filePath(QStringLiteral("a.jpg"));
    ASSERT_TRUE(Gradient().convertToFormat(QImage::Format_Indexed8).save(bmp, "BMP"));
    ASSERT_TRUE(Gradient().save(jpg, "JPEG", 95));
    for (const QString& name : {bmp, jpg}) {
        const std::unique_ptr<TBitmap> picture = LoadPictureAsBitmap(name);
        EXPECT_EQ(picture->Width(), 40) << name.toStdString();
        EXPECT_EQ(picture->Height(), 30);
        EXPECT_EQ(picture->PixelFormat(), TPixelFormat::pf24bit);
    }
}

// 16-bit 5-5-5 pixels of every level of each channel, and 32-bit ones
// behind a version 5 header whose bit fields include alpha.
std::vector<uint8_t> SixteenBitBmp() {
    test::BmpSpec layout;
    layout.Width = 32;
    layout.Height = 3;
    layout.BitCount = 16;
    layout.XPels = layout.YPels = 2835;  // 72 dots per inch
    for (int y = 0; y < layout.Height; ++y)
        for (int x = 0; x < layout.Width; ++x) {
            const auto pixel = static_cast<uint16_t>(x << (5 * y));
            layout.Bits.push_back(static_cast<uint8_t>(pixel));
            layout.Bits.push_back(static_cast<uint8_t>(pixel >> 8));
        }
    return test::MakeBmp(layout);
}

std::vector<uint8_t> AlphaFieldsBmp() {
    test::BmpSpec layout;
    layout.HeaderSize = 124;
    layout.Width = 5;
    layout.Height = 2;
    layout.BitCount = 32;
    layout.Compression = BI_BITFIELDS;
    for (int i = 0; i < 10; ++i) test::Append(layout.Bits, static_cast<uint32_t>(0x80000000u | i * 0x00102030u));
    std::vector<uint8_t> bytes = test::MakeBmp(layout);
    const uint32_t masks[] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    std::memcpy(bytes.data() + 14 + 40, masks, sizeof masks);
    return bytes;
}

void WriteFile(const QString& Name, const std::vector<uint8_t>& Bytes) {
    QFile file(Name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<qint64>(Bytes.size()));
}

TEST_F(PictureFileTest, TheWindowShowsEveryPixelAsTheAnalysesReadIt) {
    for (const auto& [name, bytes] :
         {std::pair{"sixteen.bmp", SixteenBitBmp()}, std::pair{"alpha.bmp", AlphaFieldsBmp()}}) {
        SCOPED_TRACE(name);
        const QString file = Folder.filePath(QLatin1String(name));
        WriteFile(file, bytes);
        TSPIPxDIB analysed;
        analysed.LoadFromFile(file);
        analysed.SetPixelFormat(pxPf24Bit);
        const std::unique_ptr<TBitmap> shown = LoadPictureAsBitmap(file);
        ASSERT_EQ(shown->Width(), analysed.Width());
        ASSERT_EQ(shown->Height(), analysed.Height());
        EXPECT_EQ(shown->Image().dotsPerMeterX(), analysed.DIB().Infos.Header.biXPelsPerMeter);
        for (int y = 0; y < analysed.Height(); ++y)
            for (int x = 0; x < analysed.Width(); ++x) {
                const TColor c = analysed.GetPixels(x, y);
                ASSERT_EQ(shown->Image().pixel(x, y), qRgb(GetRValue(c), GetGValue(c), GetBValue(c))) << x << "," << y;
            }
    }
    // A BMP file cut short is refused by both.
    std::vector<uint8_t> cut = SixteenBitBmp();
    cut.resize(cut.size() - 40);
    const QString file = Folder.filePath(QStringLiteral("cut.bmp"));
    WriteFile(file, cut);
    try {
        LoadPictureAsBitmap(file);
        ADD_FAILURE() << "a cut BMP opened";
    } catch (const EPictureUnreadable& e) {
        EXPECT_EQ(e.Fault(), TPictureFault::Damaged);
    }
}

TEST_F(PictureFileTest, UnreadableFilesRaise) {
    EXPECT_THROW(LoadPictureAsBitmap(Folder.filePath(QStringLiteral("a.xyz"))), EInvalidGraphic);
    const QString broken = Folder.filePath(QStringLiteral("broken.bmp"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BM not a bitmap");
    file.close();
    EXPECT_ANY_THROW(LoadPictureAsBitmap(broken));
}

TEST_F(PictureFileTest, OpenFilterListsAllFormatsFirstThenEach) {
    const QString filter = PictureOpenFilter();
    EXPECT_TRUE(filter.startsWith(QStringLiteral("All (*.bmp"))) << filter.toStdString();
    EXPECT_TRUE(filter.contains(QStringLiteral("*.jpg")));
    EXPECT_TRUE(filter.contains(QStringLiteral(";;Bitmaps (*.bmp *.BMP)")));
    EXPECT_TRUE(filter.contains(QStringLiteral("*.JPG")));
}

TEST_F(PictureFileTest, JpegIsBaselineQualityNinetyAndReadsBack) {
    TBitmap bitmap;
    bitmap.SetImage(Gradient());
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    const QString name = Folder.filePath(QStringLiteral("out.jpg"));
    SaveBitmapAsJpeg(bitmap, name);

    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xFF\xD8"));
    EXPECT_TRUE(bytes.contains("\xFF\xC0"));   // baseline frame
    EXPECT_FALSE(bytes.contains("\xFF\xC2"));  // never progressive

    const std::unique_ptr<TBitmap> back = LoadPictureAsBitmap(name);
    ASSERT_EQ(back->Width(), 40);
    ASSERT_EQ(back->Height(), 30);
    const QColor expected = Gradient().pixelColor(20, 15);
    const QColor got = back->Image().pixelColor(20, 15);
    EXPECT_NEAR(got.red(), expected.red(), 6);
    EXPECT_NEAR(got.green(), expected.green(), 6);
    EXPECT_NEAR(got.blue(), expected.blue(), 6);
}

}  // namespace
}  // namespace tam32
