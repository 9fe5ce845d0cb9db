// Start-up of the frame: captions from the menu message file, and the items
// that follow the number of open image windows.
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QDialog>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#include "app/InformationWindow.h"
#include "app/frame_fixture.h"
#include "app/modal_answerer.h"
#include "platform/Exceptions.h"
#include "windows/AfinDlg.h"
#include "windows/LeafImageWindow.h"
#include "windows/LookingTable.h"

namespace tam32::test {
namespace {

using MainFormTest = FrameTest;

TEST_F(MainFormTest, StartUpShowsTheFrameWithItsPanelsAndEnglishCaptions) {
    EXPECT_EQ(Frame->windowTitle(), QStringLiteral("TAM32"));
    EXPECT_EQ(Frame->StatusPanel(0)->text(), QStringLiteral("FIle Name"));
    EXPECT_EQ(Frame->StatusPanel(1)->text(), QStringLiteral("Position"));
    EXPECT_EQ(Frame->StatusPanel(2)->text(), QStringLiteral("Information"));
    EXPECT_EQ(Caption("mmFile"), QStringLiteral("&File"));
    EXPECT_EQ(Caption("FileOpenItem"), QStringLiteral("&Open"));
    EXPECT_TRUE(Frame->MenuItem("N1")->isSeparator());
    EXPECT_EQ(Caption("FileExitItem"), QStringLiteral("E&xit"));
    // Character set 0 names the four unnumbered items in English.
    EXPECT_EQ(Caption("MakeCLDFile0"), QStringLiteral("Make"));
    EXPECT_EQ(Caption("ViewCLDImage0"), QStringLiteral("View"));
    EXPECT_EQ(Caption("MakeCLDFile1"), QStringLiteral("Make"));
    EXPECT_EQ(Caption("ViewCLDImage1"), QStringLiteral("View"));
    EXPECT_EQ(Frame->PARItems->itemText(0), QStringLiteral("Set Times"));
    EXPECT_EQ(Frame->PARItems->currentIndex(), 0);
    EXPECT_FALSE(Frame->MenuItem("DoTopoAnalysis1")->isVisible());
    EXPECT_FALSE(Frame->MenuItem("DoLAIEstimateAll")->isEnabled());
}

TEST_F(MainFormTest, JapaneseCaptionsKeepTheUnnumberedItems) {
    WriteMenuMessages(Messages.path(), QStringLiteral("JP"), 128);
    Frame->UpdateMenuItems();
    EXPECT_EQ(Frame->MenuCharset(), 128);
    EXPECT_EQ(Caption("mmFile"), QStringLiteral("ﾌｧｲﾙ(&F)"));
    EXPECT_EQ(Caption("HelpAboutItem"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"));
    EXPECT_EQ(Caption("CircleAreaScale1"), QStringLiteral("ｽｹｰﾙ描画"));
    EXPECT_EQ(Caption("MakeCLDFile0"), QStringLiteral("作成"));
    EXPECT_EQ(Caption("ViewCLDImage1"), QStringLiteral("表示"));
    EXPECT_TRUE(Frame->MenuItem("N1")->isSeparator());
}

TEST_F(MainFormTest, CharsetOutOfRangeIsRefusedBeforeAnyCaptionChanges) {
    WriteMenuMessages(Messages.path(), QStringLiteral("JP"), 300);
    EXPECT_THROW(Frame->UpdateMenuItems(), ERangeError);
    EXPECT_EQ(Caption("mmFile"), QStringLiteral("&File"));
}

TEST_F(MainFormTest, MissingCaptionsReadError) {
    QFile::remove(Messages.filePath(QStringLiteral("menu.msg")));
    Frame->UpdateMenuItems();
    EXPECT_EQ(Caption("mmHelp"), QStringLiteral("ERROR"));
    // A separator whose caption is lost becomes an item showing the fault.
    EXPECT_FALSE(Frame->MenuItem("N1")->isSeparator());
}

TEST_F(MainFormTest, CloseAndWindowItemsFollowTheOpenImageWindows) {
    const char* items[] = {"FileCloseItem", "WindowCascadeItem", "WindowTileItem", "WindowArrangeItem",
                           "WindowMinimizeItem"};
    for (const char* item : items) EXPECT_FALSE(Frame->MenuItem(item)->isEnabled()) << item;

    Frame->CreateMDIChild(WritePicture(QStringLiteral("a.bmp"), 8, 6), false);
    for (const char* item : items) EXPECT_TRUE(Frame->MenuItem(item)->isEnabled()) << item;

    Frame->MenuItem("FileCloseItem")->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Frame->ImageWindows().isEmpty());
    EXPECT_EQ(Frame->ActiveImageWindow(), nullptr);
    for (const char* item : items) EXPECT_FALSE(Frame->MenuItem(item)->isEnabled()) << item;
}

TEST_F(MainFormTest, TheResultsWindowIsAChildWindowThatClosingMinimises) {
    auto* results = new TInformationWindow;
    Frame->AddResultsWindow(results);
    auto* sub = qobject_cast<QMdiSubWindow*>(results->parentWidget());
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->mdiArea(), Frame->MdiArea);
    EXPECT_TRUE(sub->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    // It is no image window: the items that need one stay off.
    EXPECT_FALSE(Frame->MenuItem("FileCloseItem")->isEnabled());
    EXPECT_TRUE(Frame->ImageWindows().isEmpty());
    sub->close();
    EXPECT_TRUE(sub->isMinimized());
    EXPECT_EQ(Frame->ResultsWindow(), results);
}

// Above the frame and its image windows but never above a modal dialog: the
// window manager keeps tool windows over the window they belong to.
TEST_F(MainFormTest, TheSampleTableAndTheControlPointDialogAreToolWindowsOfTheFrame) {
    Frame->CreateMDIChild(WritePicture(QStringLiteral("a.bmp"), 8, 6), false);
    TLeafImageWindow* window = Frame->ActiveImageWindow();
    {
        const TModalAnswerer firstColour([](QDialog& Dialog) { Dialog.accept(); });
        window->StartGetPoints();
    }
    window->StartGetGCP();
    for (QWidget* tool : {static_cast<QWidget*>(window->LookingTable()), static_cast<QWidget*>(window->AfinDlg())}) {
        ASSERT_NE(tool, nullptr);
        SCOPED_TRACE(tool->objectName().toStdString());
        EXPECT_TRUE(tool->isVisible());
        EXPECT_EQ(tool->windowType(), Qt::Tool);
        EXPECT_FALSE(tool->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        ASSERT_NE(tool->windowHandle(), nullptr);
        EXPECT_EQ(tool->windowHandle()->transientParent(), Frame->windowHandle());
    }
}

TEST_F(MainFormTest, CopyItemsPutTheResultTablesOnTheClipboardWithoutAnImageWindow) {
    auto* results = new TInformationWindow;
    Frame->AddResultsWindow(results);
    TInformationWindow::SetCell(results->StringGrid5, 0, 0, QStringLiteral("G"));
    results->StringGrid5->setRowCount(1);
    results->StringGrid5->setColumnCount(2);
    TInformationWindow::SetCell(results->StringGrid5, 1, 0, QStringLiteral("4"));
    Frame->MenuItem("CopyDiscParToClip1")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("\r\nG, 4\r\n"));
    results->StringGrid7->setRowCount(1);
    results->StringGrid7->setColumnCount(1);
    Frame->MenuItem("CopyGapsToClip1")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("\r\n") + TInformationWindow::Cell(results->StringGrid7, 0, 0) + QStringLiteral("\r\n"));
}

TEST_F(MainFormTest, MinimiseAllGoesFromTheLastWindowToTheFirst) {
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) Frame->CreateMDIChild(WritePicture(name, 4, 4), false);
    QList<QString> order;
    for (QMdiSubWindow* sub : Frame->MdiArea->subWindowList(QMdiArea::CreationOrder))
        QObject::connect(sub, &QMdiSubWindow::windowStateChanged,
                         [&order, sub](Qt::WindowStates before, Qt::WindowStates now) {
            if ((now & Qt::WindowMinimized) && !(before & Qt::WindowMinimized)) order << QFileInfo(sub->windowTitle()).fileName();
        });
    Frame->WindowMinimizeItemClick();
    EXPECT_EQ(order, (QList<QString>{"c.bmp", "b.bmp", "a.bmp"}));
}

TEST_F(MainFormTest, ToolButtonsRunTheCommandsOfTheirMenuItems) {
    EXPECT_EQ(Frame->ToolBar1->actions().size(), 26);  // 25 buttons and the period list
    Frame->CreateMDIChild(WritePicture(QStringLiteral("a.bmp"), 8, 6), false);
    TLeafImageWindow* window = Frame->ActiveImageWindow();
    Frame->ToolButton("SpeedButton1")->trigger();
    EXPECT_EQ(window->FScaleNum, 2);
    Frame->ToolButton("SpeedButton4")->trigger();
    Frame->ToolButton("SpeedButton4")->trigger();
    EXPECT_EQ(window->FScaleDen, 2);
    // A disabled menu item leaves its button usable.
    Frame->MenuItem("ImageViewEnhance1")->setEnabled(false);
    Frame->ToolButton("SpeedButton1")->trigger();
    EXPECT_EQ(window->FScaleDen, 1);
}

TEST_F(MainFormTest, ToolItemsChooseTheActiveWindowsToolAndShowTheEdgeView) {
    // Without a window a tool item keeps no check mark.
    Frame->MenuItem("DistanceMeasurement1")->trigger();
    EXPECT_FALSE(Frame->MenuItem("DistanceMeasurement1")->isChecked());

    Frame->CreateMDIChild(WritePicture(QStringLiteral("a.bmp"), 120, 100), false);
    TLeafImageWindow* window = Frame->ActiveImageWindow();
    Frame->MenuItem("DistanceMeasurement1")->trigger();
    EXPECT_TRUE(window->FMeasureMode);
    EXPECT_EQ(window->FMeasureTool, mtDistance);
    EXPECT_TRUE(Frame->MenuItem("DistanceMeasurement1")->isChecked());
    Frame->ToolButton("SpeedButton11")->trigger();
    EXPECT_TRUE(window->FTagAreaMode);
    EXPECT_FALSE(Frame->MenuItem("DistanceMeasurement1")->isChecked());
    EXPECT_TRUE(Frame->MenuItem("SetTagArea1")->isChecked());

    // Moving a circle shows its edges at the frame's right.
    Host.InputAnswers = {QStringLiteral("80")};
    Frame->MenuItem("CircleAreaRadiusPixel1")->trigger();
    ASSERT_TRUE(window->FCircleSet);
    window->Image1MouseDown(Qt::LeftButton, 60, 50);
    EXPECT_TRUE(Frame->Panel1->isVisible());
    window->Image1MouseUp(60, 50);
    EXPECT_FALSE(Frame->Panel1->isVisible());
}

TEST_F(MainFormTest, WindowMenuListsTheImageWindowsAfterItsItems) {
    Frame->CreateMDIChild(WritePicture(QStringLiteral("a.bmp"), 4, 4), false);
    Frame->CreateMDIChild(WritePicture(QStringLiteral("b.bmp"), 4, 4), false);
    QMenu* menu = Frame->MenuItem("mmWindow")->menu();
    for (int shown = 0; shown < 2; ++shown) emit menu->aboutToShow();  // the list is rebuilt, not appended
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 4 + 1 + 2);
    EXPECT_TRUE(items[5]->text().endsWith(QStringLiteral("a.bmp")));
    EXPECT_TRUE(items[6]->isChecked());
    items[5]->trigger();
    EXPECT_EQ(Frame->ActiveImageWindow()->FFileName, Files.filePath(QStringLiteral("a.bmp")));
    // The relabelling leaves the list alone.
    Frame->UpdateMenuItems();
    EXPECT_TRUE(menu->actions()[5]->text().endsWith(QStringLiteral("a.bmp")));
}

TEST_F(MainFormTest, EachUseOfTheVersionBoxShowsANewBox) {
    QList<QString> products;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            products << box->findChild<QLabel*>(QStringLiteral("ProductName"))->text();
            box->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
        }
    });
    closer.start(10);
    Frame->MenuItem("HelpAboutItem")->trigger();
    Frame->HelpAboutItemClick();
    EXPECT_EQ(products, (QList<QString>{"TAM32 ver.0.3781", "TAM32 ver.0.3781"}));
}

}  // namespace
}  // namespace tam32::test
