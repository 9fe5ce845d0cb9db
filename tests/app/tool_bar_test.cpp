// The tool bar: a drawn picture on every button, and hints in the language
// of the interface.
#include <QAction>
#include <QImage>
#include <QPixmap>
#include <QToolBar>
#include <map>

#include "app/ToolBarButtons.h"
#include "app/frame_fixture.h"

namespace tam32::test {
namespace {

constexpr const char* kSvgPackage =
    "renders empty: Qt's SVG plug-in is missing (install the Debian package libqt6svg6)";

// The icon at tool-bar size; the number of pixels it covers.
int CoveredPixels(const QIcon& Icon, QImage* Face = nullptr) {
    const QImage image = Icon.pixmap(24, 24).toImage().convertToFormat(QImage::Format_ARGB32);
    if (Face != nullptr) *Face = image;
    int covered = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) covered += qAlpha(image.pixel(x, y)) > 0;
    return covered;
}

using ToolBarTest = FrameTest;

TEST_F(ToolBarTest, EveryButtonShowsAPictureOfItsOwn) {
    std::map<QString, QString> faces;  // the face's bytes, and the button that has it
    for (const TToolButtonDef& def : ToolBarButtons()) {
        SCOPED_TRACE(def.Name);
        QAction* button = Frame->ToolButton(def.Name);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->text().isEmpty());  // no letters stand in for the picture
        ASSERT_FALSE(button->icon().isNull());
        QImage face;
        ASSERT_GT(CoveredPixels(button->icon(), &face), 24) << kSvgPackage;
        EXPECT_EQ(button->icon().actualSize(QSize(24, 24)), QSize(24, 24));
        // Our own picture too, whatever the desktop's theme.
        EXPECT_GT(CoveredPixels(OwnToolButtonIcon(def)), 24) << kSvgPackage;
        const QString bytes = QString::fromLatin1(
            QByteArray(reinterpret_cast<const char*>(face.constBits()), face.sizeInBytes()).toBase64());
        const auto [other, added] = faces.emplace(bytes, QLatin1String(def.Name));
        EXPECT_TRUE(added) << "looks like " << other->second.toStdString();
    }
}

TEST_F(ToolBarTest, TheFrameShowsTheProgramsIcon) {
    EXPECT_GT(CoveredPixels(Frame->windowIcon()), 24 * 24 / 2) << kSvgPackage;
}

TEST_F(ToolBarTest, EnglishHintsAreTheCaptionsOfTheButtonsMenuItems) {
    const std::map<QString, QString> expected = {
        {"OpenBtn", "Open"},
        {"SpeedButton3", "Scan (TWAIN)"},
        {"SpeedButton20", "Save Analysed Image"},
        {"SpeedButton5", "Copy Image"},
        {"SpeedButton6", "Paste"},
        {"SpeedButton1", "Zoom In"},
        {"SpeedButton4", "Zoom Out"},
        {"SpeedButton24", "Brightness"},
        {"SpeedButton7", "Original Image"},
        {"SpeedButton9", "Area Estimation"},
        {"SpeedButton8", "Histogram"},
        {"SpeedButton18", "Colour by Leaf and Background"},
        {"SpeedButton21", "Colour Search"},
        {"SpeedButton10", "LAI Estimate"},
        {"SpeedButton16", "PAR Estimate"},
        {"SpeedButton19", "Gap Estimate"},
        {"SpeedButton17", "Analysis Options"},
        {"SpeedButton11", "Select Box Area"},
        {"SpeedButton12", "Line Profile"},
        {"SpeedButton13", "By Mouse"},
        {"SpeedButton22", "By Three Points"},
        {"SpeedButton25", "Automatic"},
        {"SpeedButton14", "Move Centre"},
        {"SpeedButton15", "Set North"},
        {"SpeedButton2", "Draw Scale"},
    };
    ASSERT_EQ(expected.size(), ToolBarButtons().size());
    for (const auto& [name, hint] : expected)
        EXPECT_EQ(Frame->ToolButton(name.toLatin1().constData())->toolTip(), hint) << name.toStdString();
}

TEST_F(ToolBarTest, HintsFollowTheInterfaceLanguageOnEveryRelabelling) {
    const auto hint = [&](const char* Button) { return Frame->ToolButton(Button)->toolTip(); };
    WriteMenuMessages(Messages.path(), QStringLiteral("JP"), 128);
    Frame->UpdateMenuItems();
    const struct {
        const char* Button;
        const char* Japanese;
    } cases[] = {
        {"OpenBtn", "開く"},
        {"SpeedButton16", "PAR推定"},
        {"SpeedButton13", "全天空画像エリアのマウスによる選択"},
        // Buttons without a hint of their own take their menu item's caption.
        {"SpeedButton24", "明るさ"},
        {"SpeedButton19", "Gap推定"},
        {"SpeedButton22", "３点指定"},
        {"SpeedButton2", "ｽｹｰﾙ描画"},
    };
    for (const auto& c : cases) EXPECT_EQ(hint(c.Button), QString::fromUtf8(c.Japanese)) << c.Button;

    WriteMenuMessages(Messages.path(), QStringLiteral("EN"), 0);
    Frame->UpdateMenuItems();
    EXPECT_EQ(hint("OpenBtn"), QStringLiteral("Open"));
    EXPECT_EQ(hint("SpeedButton24"), QStringLiteral("Brightness"));
}

}  // namespace
}  // namespace tam32::test
