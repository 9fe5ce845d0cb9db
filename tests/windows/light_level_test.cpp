// The image window's brightness command and the dialog that asks its factors.
#include <gtest/gtest.h>

#include <QImage>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "analysis/core/GlobalSettings.h"
#include "common/widget_app_env.h"
#include "platform/Bitmap.h"
#include "windows/LeafImageWindow.h"
#include "windows/OKBottomDlg.h"
#include "windows/recording_frame.h"

namespace tam32 {
namespace {

std::unique_ptr<TBitmap> Coloured() {
    QImage image(7, 3, QImage::Format_RGB888);
    image.fill(QColor(200, 100, 50));
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetImage(image);
    bitmap->SetPixelFormat(TPixelFormat::pf24bit);
    return bitmap;
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

TEST(LightLevelCommandTest, TheWindowAppliesTheDialogsFactorsAndCancelChangesNothing) {
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
    // Round((200 / 255) ^ 0.5 × 255) = 226 in red only.
    EXPECT_EQ(window.Picture().Image().pixelColor(3, 1), QColor(226, 100, 50));
    ResetSettingsToDefaults();
}

}  // namespace
}  // namespace tam32
