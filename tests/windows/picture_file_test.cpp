// Pictures read through the registry into 24-bit bitmaps, and the JPEG writer.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "import/SPIBitmap.h"
#include "import/SPIs.h"
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
