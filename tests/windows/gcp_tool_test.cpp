// The control-point tool of an image window and its dialog: points picked
// and typed, the fit with its residuals, the output size, the correction
// of the opened photograph, and the dialog once closed.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPointer>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "analysis/core/Messages.h"
#include "common/refusal_box.h"
#include "common/user_click.h"
#include "platform/qstring_printer.h"
#include "windows/AfinDlg.h"
#include "windows/image_window_fixture.h"

namespace tam32 {
namespace {

using test::StatusOf;

const QString kRefused = QStringLiteral("Error: the fit cannot be solved!");

QImage Ramp() {
    QImage image(60, 40, QImage::Format_RGB888);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) image.setPixelColor(x, y, QColor(x * 4, y * 6, 100));
    return image;
}

class GcpToolTest : public test::ImageWindowTest {
protected:
    void SetUp() override {
        ImageWindowTest::SetUp();
        OpenWindow(Ramp(), QStringLiteral("ramp.bmp"));
        Window->StartGetGCP();
        Dialog = Window->AfinDlg();
        ASSERT_NE(Dialog, nullptr);
    }
    // A picked point with its typed world position ("" leaves it out).
    void Point(int Col, int Row, const QString& X, const QString& Y) {
        Dialog->AddGCP(Col, Row);
        Dialog->SetCell(1, Dialog->GCPCount, X);
        Dialog->SetCell(2, Dialog->GCPCount, Y);
    }
    // Three points of the exact mapping col = 10 + 2 X, row = 5 + 3 Y.
    void ExactPoints() {
        Point(10, 5, "0", "0");
        Point(30, 5, "10", "0");
        Point(10, 35, "0", "10");
    }
    void Size(const char* X0, const char* X1, const char* Y0, const char* Y1, const char* Pixel) {
        Dialog->im_x0->setText(QLatin1String(X0));
        Dialog->im_x1->setText(QLatin1String(X1));
        Dialog->im_y0->setText(QLatin1String(Y0));
        Dialog->im_y1->setText(QLatin1String(Y1));
        Dialog->Pixel_Size->setText(QLatin1String(Pixel));
        Press(Dialog->Calc_IMS);
    }
    // A button of the dialog, on its page.
    static void Press(QPushButton* Button) {
        test::TurnToPageOf(*Button);
        test::UserClick(Button);
    }
    QByteArray Written(const QString& Name) const {
        QFile file(Folder.filePath(Name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TAfinDlg* Dialog = nullptr;
};

TEST_F(GcpToolTest, ClicksFillTheTableAndTheTenthPointGrowsIt) {
    EXPECT_TRUE(Dialog->isVisible());
    EXPECT_EQ(Window->FPickTool, ptGCP);
    for (int i = 1; i <= 10; ++i) {
        Window->Image1MouseDown(Qt::LeftButton, i * 5, i * 3);
        EXPECT_EQ(Dialog->RowCount(), i < 10 ? 10 : 11) << "point " << i;
    }
    EXPECT_EQ(Dialog->GCPCount, 10);
    EXPECT_EQ(std::pair(Dialog->Cell(3, 1), Dialog->Cell(4, 1)), std::pair(QStringLiteral("5"), QStringLiteral("3")));
    EXPECT_EQ(std::pair(Dialog->Cell(3, 10), Dialog->Cell(4, 10)),
              std::pair(QStringLiteral("50"), QStringLiteral("30")));
}

TEST_F(GcpToolTest, AnExactFitShowsZeroResidualsAndTheExtentGivesTheOutputSize) {
    ExactPoints();
    Point(40, 40, "", "7");  // without X: neither fitted nor in the extent
    Press(Dialog->Analyze);
    EXPECT_TRUE(Host.Messages.empty());
    for (int row = 1; row <= 3; ++row) EXPECT_EQ(Dialog->Cell(0, row), QStringLiteral("0.000")) << "row " << row;
    EXPECT_TRUE(Dialog->Cell(0, 4).isEmpty());
    ASSERT_EQ(Dialog->CoefCol.size(), 3u);
    EXPECT_NEAR(Dialog->CoefCol[1], 2.0, 1e-12);
    EXPECT_NEAR(Dialog->CoefRow[2], 3.0, 1e-12);
    Press(Dialog->Auto_Size);
    EXPECT_EQ(Dialog->im_x1->text(), QStringLiteral("10"));
    EXPECT_EQ(Dialog->im_y1->text(), QStringLiteral("10"));
    Size("0", "100", "0", "50", "0.5");
    EXPECT_EQ(Dialog->Image_Size->text(), QStringLiteral("200×100[50.8 dpi]"));
    Dialog->ScaleInfo->setCurrentIndex(1);
    Size("0", "100", "0", "50", "0.5");
    EXPECT_EQ(Dialog->Image_Size->text(), QStringLiteral("200×100[5.08 dpi]"));
}

TEST_F(GcpToolTest, PointsThatDoNotDetermineTheFitAreRefusedWithNothingChanged) {
    const struct {
        const char* Why;
        int Order;
        std::vector<std::array<const char*, 2>> World;
    } Cases[] = {
        {"order 2 with four points", 2, {{"0", "0"}, {"10", "0"}, {"0", "10"}, {"7", "3"}}},
        {"order 3 with five points", 3, {{"0", "0"}, {"10", "0"}, {"0", "10"}, {"7", "3"}, {"4", "8"}}},
        {"collinear decimal points", 1, {{"0.1", "0.3"}, {"0.2", "0.6"}, {"0.3", "0.9"}}},
        {"every X 0", 1, {{"0", "0"}, {"0", "5"}, {"0", "9"}}},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Why);
        Press(Dialog->ClearTable);
        int i = 0;
        for (const auto& [x, y] : Case.World) {
            ++i;
            Point(10 + 7 * i, i * i % 17, QLatin1String(x), QLatin1String(y));
        }
        Dialog->DimFiit->setValue(Case.Order);
        Dialog->SetCell(0, 1, QStringLiteral("old"));
        Dialog->CoefCol = Dialog->CoefRow = {9.0};
        Host.Messages.clear();
        Press(Dialog->Analyze);
        EXPECT_EQ(Host.Messages, std::vector<QString>{kRefused});
        EXPECT_EQ(Dialog->CoefCol, std::vector<double>{9.0});
        EXPECT_EQ(Dialog->Cell(0, 1), QStringLiteral("old"));
    }
    Dialog->SetCell(1, 1, QStringLiteral("abc"));
    Host.Messages.clear();
    Press(Dialog->Analyze);
    EXPECT_EQ(Host.Messages, std::vector<QString>{test::RefusalBox(FormatDialogMessage(QStringLiteral("DMS93"), {1, QStringLiteral("X")}))});
    EXPECT_EQ(Dialog->focusWidget(), Dialog->DataGrid);
    EXPECT_EQ(std::pair(Dialog->DataGrid->currentRow(), Dialog->DataGrid->currentColumn()), std::pair(0, 1));
}

// Each refusal names the field to mend in a box over the dialog and puts
// the focus there; "ERR22" leaves the status bar once a size is computed.
TEST_F(GcpToolTest, AnOutputWithoutSizeIsRefusedNamingTheFieldWithNothingChanged) {
    Size("0", "100", "0", "50", "0.5");
    const auto extent = [](const char* Bound) { return FormatDialogMessage(QStringLiteral("DMS92"), {QString::fromLatin1(Bound)}); };
    const QString pixel = Dialog->Button1->text();
    const struct {
        const char* Values[5];
        QLineEdit* TAfinDlg::*Field;
        QString Caption;
    } refused[] = {
        {{"0", "100", "0", "50", "0"}, &TAfinDlg::Pixel_Size, pixel},
        {{"0", "100", "0", "50", "abc"}, &TAfinDlg::Pixel_Size, pixel},
        {{"x", "100", "0", "50", "1"}, &TAfinDlg::im_x0, extent("X0")},
        {{"100", "0", "0", "50", "1"}, &TAfinDlg::im_x1, extent("X1")},
        {{"0", "100", "50", "50", "1"}, &TAfinDlg::im_y1, extent("Y1")},
        {{"0", "40000", "0", "1", "1"}, &TAfinDlg::Pixel_Size, pixel},
        {{"0", "20000", "0", "20000", "1"}, &TAfinDlg::Pixel_Size, pixel},
    };
    for (const auto& refusal : refused) {
        const auto& values = refusal.Values;
        SCOPED_TRACE(testing::Message() << values[0] << ".." << values[1] << " by " << values[3] << " at " << values[4]);
        Host.StatusTexts.clear();
        Host.Messages.clear();
        Size(values[0], values[1], values[2], values[3], values[4]);
        EXPECT_EQ(Host.LastStatus(), StatusOf(ShowErrorMessage, "ERR22"));
        EXPECT_EQ(Host.Messages, std::vector<QString>{test::RefusalBox(refusal.Caption)});
        EXPECT_EQ(Dialog->focusWidget(), Dialog->*refusal.Field);
        EXPECT_EQ(Dialog->Image_Size->text(), QStringLiteral("200×100[50.8 dpi]"));
        EXPECT_EQ(std::tuple(Dialog->OutWidth, Dialog->OutHeight, Dialog->PixelSize), std::tuple(200, 100, 0.5));
    }
    Size("0", "100", "0", "50", "1");
    EXPECT_EQ(Host.LastStatus(), QString());
    EXPECT_EQ(Dialog->Image_Size->text(), QStringLiteral("100×50[25.4 dpi]"));
}

TEST_F(GcpToolTest, TheCorrectionWritesTheOpenedPhotographByTheFittedOrder) {
    const QString first = Folder.filePath(QStringLiteral("first.bmp")),
                  second = Folder.filePath(QStringLiteral("second.bmp"));
    EXPECT_FALSE(Window->DoAfineTrans(first));  // no fit yet
    ExactPoints();
    Press(Dialog->Analyze);
    EXPECT_FALSE(Window->DoAfineTrans(first));  // no size yet
    Size("0", "20", "0", "10", "1");
    ASSERT_TRUE(Window->DoAfineTrans(first));
    // World (X, Y) shows source pixel (10 + 2 X, 5 + 3 Y); the bottom row is Y = 0.
    const QImage corrected(first);
    ASSERT_EQ(corrected.size(), QSize(20, 10));
    EXPECT_EQ(corrected.pixelColor(4, 9), QColor(18 * 4, 5 * 6, 100));
    EXPECT_EQ(corrected.pixelColor(2, 8), QColor(14 * 4, 8 * 6, 100));
    // An order chosen after the fit is the next fit's.
    Dialog->DimFiit->setValue(3);
    ASSERT_TRUE(Window->DoAfineTrans(second));
    EXPECT_EQ(Written(QStringLiteral("second.bmp")), Written(QStringLiteral("first.bmp")));
    EXPECT_TRUE(Host.Messages.empty());
}

// Enter and Escape on the table edit its cells; they never close the dialog.
TEST_F(GcpToolTest, EnterAndEscapeOnTheTableEditItsCellsAndKeepTheDialogOpen) {
    ExactPoints();
    Dialog->activateWindow();
    QCoreApplication::processEvents();
    Dialog->DataGrid->setFocus();
    Dialog->DataGrid->setCurrentCell(0, 1);
    // Typed where the focus is, as a user types.
    const auto key = [](Qt::Key Key) {
        if (QWidget* focused = QApplication::focusWidget())
            QTest::keyClick(focused, Key);
        else
            ADD_FAILURE() << "no focus for key " << Key;
    };
    const auto editor = [this] { return qobject_cast<QLineEdit*>(QApplication::focusWidget()); };
    const QPointer<TAfinDlg> dialog = Dialog;
    key(Qt::Key_Escape);
    key(Qt::Key_Return);  // starts an edit
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(dialog.isNull());
    EXPECT_TRUE(Dialog->isVisible());
    ASSERT_NE(editor(), nullptr);
    editor()->setText(QStringLiteral("4"));
    key(Qt::Key_Escape);  // cancels it
    EXPECT_EQ(Dialog->Cell(1, 1), QStringLiteral("0"));
    EXPECT_EQ(QApplication::focusWidget(), Dialog->DataGrid);
    key(Qt::Key_Return);
    ASSERT_NE(editor(), nullptr);
    editor()->setText(QStringLiteral("4"));
    key(Qt::Key_Return);  // commits it and moves down
    QCoreApplication::processEvents();
    EXPECT_EQ(Dialog->Cell(1, 1), QStringLiteral("4"));
    EXPECT_EQ(std::pair(Dialog->DataGrid->currentRow(), Dialog->DataGrid->currentColumn()), std::pair(1, 1));
    EXPECT_TRUE(Dialog->isVisible());
    // Elsewhere Enter presses the default button, which closes.
    Dialog->im_x0->setFocus();
    key(Qt::Key_Return);
    EXPECT_FALSE(Dialog->isVisible());
}

// Closing only hides the dialog: the tool shows it again with its points,
// typed cells, fit and output; it goes with its window.
TEST_F(GcpToolTest, AClosedDialogKeepsEverythingForTheToolThatShowsItAgain) {
    ExactPoints();
    Press(Dialog->Analyze);
    Size("0", "20", "0", "10", "1");
    const std::vector<double> fit = Dialog->CoefCol;
    const QPointer<TAfinDlg> dialog = Dialog;
    for (const char* how : {"close button", "Close"}) {
        SCOPED_TRACE(how);
        if (qstrcmp(how, "Close") == 0)
            Press(Dialog->OKBtn);
        else
            Dialog->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_FALSE(dialog.isNull());
        EXPECT_FALSE(Dialog->isVisible());
        Window->StartGetGCP();
        EXPECT_EQ(Window->AfinDlg(), Dialog);
        EXPECT_TRUE(Dialog->isVisible());
        EXPECT_EQ(Dialog->GCPCount, 3);
        EXPECT_EQ(std::pair(Dialog->Cell(1, 2), Dialog->Cell(3, 2)), std::pair(QStringLiteral("10"), QStringLiteral("30")));
        EXPECT_EQ(Dialog->CoefCol, fit);
        EXPECT_EQ(Dialog->Image_Size->text(), QStringLiteral("20×10[25.4 dpi]"));
        EXPECT_TRUE(Window->DoAfineTrans(Folder.filePath(QStringLiteral("out.bmp"))));
    }
    Window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
}

}  // namespace
}  // namespace tam32
