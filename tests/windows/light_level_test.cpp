// The brightness change of the picture and the dialog that asks its factors.
#include <gtest/gtest.h>

#include <QImage>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "analysis/GlobalSettings.h"
#include "common/widget_app_env.h"
#include "platform/Bitmap.h"
#include "windows/LeafImageWindow.h"
#include "windows/LightLevel.h"
#include "windows/OKBottomDlg.h"
#include "windows/recording_frame.h"

namespace tam32 {
namespace {

std::unique_ptr<TBitmap> Coloured() {
    QImage image(7, 3, QImage::Format_RGB888);
    image.fill(QColor(200, 100, 50));
    image.setPixelColor(0, 0, QColor(0, 255, 1));
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetImage(image);
    bitmap->SetPixelFormat(TPixelFormat::pf24bit);
    return bitmap;
}

QColor At(const TBitmap& Bitmap, int X, int Y) { return Bitmap.Image().pixelColor(X, Y); }

TEST(LightLevelTest, EachFactorChangesItsOwnChannel) {
    auto picture = Coloured();
    ApplyLightLevel(*picture, 2.0f, 1.0f, 1.0f);
    // Round((200 / 255) ^ 0.5 × 255) = 226; green and blue keep their values.
    EXPECT_EQ(At(*picture, 3, 1), QColor(226, 100, 50));
    ApplyLightLevel(*picture, 1.0f, 1.0f, 0.5f);
    // Round((50 / 255) ^ 2 × 255) = 10.
    EXPECT_EQ(At(*picture, 3, 1), QColor(226, 100, 10));
    // Black stays black and full stays full.
    EXPECT_EQ(At(*picture, 0, 0), QColor(0, 255, 0));
}

TEST(LightLevelTest, UnitOrZeroFactorsLeaveThePicture) {
    auto picture = Coloured();
    const QImage before = picture->Image().copy();
    ApplyLightLevel(*picture, 1.0f, 1.0f, 1.0f);
    EXPECT_EQ(picture->Image(), before);
    ApplyLightLevel(*picture, 0.0f, 3.0f, 3.0f);
    EXPECT_EQ(picture->Image(), before);
}

// Answers the next brightness dialog with the three factors × 10, or cancels it.
void AnswerLightLevel(int R, int G, int B, bool Ok) {
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<TOKBottomDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->SpinEdit11->value(), 10);
        dialog->SpinEdit11->setValue(R);
        dialog->SpinEdit12->setValue(G);
        dialog->SpinEdit13->setValue(B);
        if (Ok)
            dialog->OKBtn->click();
        else
            dialog->CancelBtn->click();
    });
}

TEST(LightLevelTest, TheWindowAppliesTheDialogsFactorsAndCancelChangesNothing) {
    test::RequireWidgetApp();
    test::TRecordingFrame frame;
    TLeafImageWindow window(frame);
    window.OpenPicture(QStringLiteral("a.bmp"), false, Coloured());
    const QImage before = window.Picture().Image().copy();
    AnswerLightLevel(20, 20, 20, false);
    window.ChangeLightLevel();
    EXPECT_EQ(window.Picture().Image(), before);
    EXPECT_EQ(PARPeriod, -1);  // every cancel of the dialog
    AnswerLightLevel(20, 10, 10, true);
    window.ChangeLightLevel();
    EXPECT_EQ(At(window.Picture(), 3, 1), QColor(226, 100, 50));
    ResetSettingsToDefaults();
}

}  // namespace
}  // namespace tam32
