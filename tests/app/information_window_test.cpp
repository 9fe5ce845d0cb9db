// The results window: grid copies, captions, minimising and group colours.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QFile>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include "analysis/core/Messages.h"
#include "app/InformationWindow.h"
#include "platform/qstring_printer.h"
#include "common/widget_app_env.h"

using namespace tam32;

namespace {

class InformationWindowTest : public testing::Test {
protected:
    void SetUp() override {
        test::RequireWidgetApp();
        QFile Menu(FDir.filePath("menu.msg"));
        ASSERT_TRUE(Menu.open(QIODevice::WriteOnly));
        Menu.write("[LOCALE]\r\nLOCALE=EN\r\n[INFODLG_EN]\r\n0=Info\r\n1=Log\r\n2=Classes\r\n3=Gaps\r\n"
                   "4=Area\r\n5=Outline\r\n6=Photo\r\n7=First\r\n8=Second\r\n9=Distance\r\n10=Size\r\n");
        Menu.close();
        SetMessageFolder(FDir.path());
    }
    void TearDown() override { SetMessageFolder(QString()); }

    QTemporaryDir FDir;
};

}  // namespace

TEST_F(InformationWindowTest, CaptionsComeFromTheCaptionFile) {
    TInformationWindow W;
    EXPECT_EQ(W.windowTitle(), "Info");
    EXPECT_EQ(W.PageControl1->tabText(0), "Log");
    EXPECT_EQ(W.PageControl1->tabText(2), "Gaps");
    EXPECT_EQ(W.PageControl1->currentWidget(), W.TabSheet7);
    EXPECT_EQ(TInformationWindow::Cell(W.StringGrid7, 1, 0), "Area");
    EXPECT_EQ(TInformationWindow::Cell(W.StringGrid7, 2, 0), "Outline");
    EXPECT_EQ(TInformationWindow::Cell(W.StringGrid7, 0, 0), "Photo");
    EXPECT_EQ(TInformationWindow::Cell(W.StringGrid7, 0, 4), "Size");
    EXPECT_EQ(W.StringGrid5->columnCount(), 6);
    EXPECT_EQ(W.StringGrid5->rowCount(), 10);
    EXPECT_EQ(W.StringGrid7->columnCount(), 3);
    EXPECT_EQ(W.StringGrid7->rowCount(), 8);
}

TEST_F(InformationWindowTest, GridCopyJoinsCellsByCommaAndBlank) {
    TInformationWindow W;
    QTableWidget Grid(2, 3);
    const char* Cells[2][3] = {{"a", "b", "c"}, {"d", "e", "f"}};
    for (int R = 0; R < 2; ++R)
        for (int C = 0; C < 3; ++C) TInformationWindow::SetCell(&Grid, C, R, Cells[R][C]);
    W.CopyGridToClipboard(&Grid, QString());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "\r\na, b, c\r\nd, e, f\r\n");
    W.CopyGridToClipboard(nullptr, "x");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "\r\na, b, c\r\nd, e, f\r\n");
}

TEST_F(InformationWindowTest, ClosingMinimisesAndTheLogGoesOn) {
    TInformationWindow W;
    W.show();
    W.AppendResultLine("first");
    EXPECT_FALSE(W.close());
    EXPECT_TRUE(W.isMinimized());
    W.AppendResultLine("second");
    EXPECT_EQ(W.Results->toPlainText(), "first\nsecond");
}

TEST(GroupRowColor, ColoursTheRowsOfEveryGroupFromTwoGroupsOn) {
    const TColor Colors[21] = {0x0000FF, 0x00FF00, 0xFF0000};
    EXPECT_FALSE(GroupRowColor(1, 0, Colors));
    EXPECT_FALSE(GroupRowColor(0, 2, Colors));
    EXPECT_EQ(GroupRowColor(1, 2, Colors), 0x0000FF);
    EXPECT_EQ(GroupRowColor(3, 2, Colors), 0xFF0000);
    EXPECT_FALSE(GroupRowColor(4, 2, Colors));
}

TEST_F(InformationWindowTest, GroupCellIsPaintedWithComplementaryText) {
    TInformationWindow W;
    const TColor Colors[21] = {0x0000FF, 0x00FF00};
    W.GroupColorOfRow = [&](int Row) { return GroupRowColor(Row, 1, Colors); };
    TInformationWindow::SetCell(W.StringGrid5, 0, 1, "WWWWWW");
    W.PageControl1->setCurrentWidget(W.TabSheet4);
    W.resize(400, 300);
    W.show();
    const QImage Shot = W.StringGrid5->viewport()->grab().toImage();
    const QRect Cell = W.StringGrid5->visualRect(W.StringGrid5->model()->index(1, 0));
    EXPECT_EQ(QColor(Shot.pixel(Cell.left() + 1, Cell.top() + 1)), QColor(Qt::red));
    bool Cyan = false;
    for (int Y = Cell.top(); Y < Cell.bottom(); ++Y)
        for (int X = Cell.left(); X < Cell.right(); ++X) Cyan = Cyan || QColor(Shot.pixel(X, Y)) == QColor(Qt::cyan);
    EXPECT_TRUE(Cyan);
    // Row 0 and the other columns keep the table's own look.
    const QRect Plain = W.StringGrid5->visualRect(W.StringGrid5->model()->index(1, 1));
    EXPECT_NE(QColor(Shot.pixel(Plain.left() + 1, Plain.top() + 1)), QColor(Qt::red));
}
