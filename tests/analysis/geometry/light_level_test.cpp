// The brightness change of a picture, channel by channel.
#include <gtest/gtest.h>

#include <QImage>
#include <memory>

#include "analysis/geometry/LightLevel.h"
#include "platform/Bitmap.h"

namespace tam32 {
namespace {

std::unique_ptr<TBitmap> Coloured() {
    QImage Image(7, 3, QImage::Format_RGB888);
    Image.fill(QColor(200, 100, 50));
    Image.setPixelColor(0, 0, QColor(0, 255, 1));
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->SetImage(Image);
    Bitmap->SetPixelFormat(TPixelFormat::pf24bit);
    return Bitmap;
}

QColor At(const TBitmap& Bitmap, int X, int Y) { return Bitmap.Image().pixelColor(X, Y); }

TEST(LightLevelTest, EachFactorChangesItsOwnChannel) {
    auto Picture = Coloured();
    ApplyLightLevel(*Picture, 2.0f, 1.0f, 1.0f);
    // Round((200 / 255) ^ 0.5 × 255) = 226; green and blue keep their values.
    EXPECT_EQ(At(*Picture, 3, 1), QColor(226, 100, 50));
    ApplyLightLevel(*Picture, 1.0f, 1.0f, 0.5f);
    // Round((50 / 255) ^ 2 × 255) = 10.
    EXPECT_EQ(At(*Picture, 3, 1), QColor(226, 100, 10));
    // Black stays black and full stays full.
    EXPECT_EQ(At(*Picture, 0, 0), QColor(0, 255, 0));
}

TEST(LightLevelTest, UnitOrZeroFactorsLeaveThePicture) {
    auto Picture = Coloured();
    const QImage Before = Picture->Image().copy();
    ApplyLightLevel(*Picture, 1.0f, 1.0f, 1.0f);
    EXPECT_EQ(Picture->Image(), Before);
    ApplyLightLevel(*Picture, 0.0f, 3.0f, 3.0f);
    EXPECT_EQ(Picture->Image(), Before);
}

}  // namespace
}  // namespace tam32
