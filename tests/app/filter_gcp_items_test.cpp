// The frame's items of the spatial filter and of the control-point
// correction, from click to opened result.
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/corrections/FilterKernel.h"
#include "app/FilterDlg.h"
#include "app/frame_fixture.h"
#include "common/user_click.h"
#include "windows/AfinDlg.h"
#include "windows/LeafImageWindow.h"

namespace tam32::test {
namespace {

class FilterGcpItemsTest : public FrameTest {
protected:
    // The frame's next save dialog takes Name, if it shows; Asked says whether it did.
    void AnswerSave(const QString& Name) {
        Asked = false;
        QTimer::singleShot(0, [this, Name] {
            if (!Frame->SaveDialog->isVisible()) return;
            Asked = true;
            Frame->SaveDialog->selectFile(Name);
            static_cast<QDialog*>(Frame->SaveDialog)->accept();
        });
    }

    bool Asked = false;
};

TEST_F(FilterGcpItemsTest, TheFilterItemsDefineTheKernelAndFilterIntoABMPFileThatOpens) {
    Frame->CreateMDIChild(WritePicture(QStringLiteral("photo.bmp"), 30, 20), false);
    AnswerSave(File("never.bmp"));
    Trigger("DoFiltering");  // no kernel yet: no question, nothing written
    EXPECT_FALSE(Asked);
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<TFilterDlg*>(QApplication::activeModalWidget())) UserClick(dialog->OKBtn);
    });
    Trigger("SelectFilter");
    ASSERT_TRUE(FilterDefined);
    AnswerSave(File("out.txt"));
    Trigger("DoFiltering");
    ASSERT_EQ(Frame->ImageWindows().size(), 2);
    EXPECT_EQ(QFileInfo(Frame->ActiveImageWindow()->FFileName), QFileInfo(File("out.BMP")));
    EXPECT_FALSE(QFileInfo::exists(File("out.txt")));
}

TEST_F(FilterGcpItemsTest, TheFileOfAnOpenWindowIsNotWrittenOver) {
    const QString shown = WritePicture(QStringLiteral("shown.BMP"), 30, 20);
    Frame->CreateMDIChild(shown, false);
    StoreFilterKernel({3, std::vector<int32_t>(9, 1), 9});
    AnswerSave(File("shown.txt"));  // the same BMP name as the open window's file
    Trigger("DoFiltering");
    EXPECT_TRUE(Asked);
    EXPECT_EQ(Host.Messages.size(), 1u);
    EXPECT_EQ(Frame->ImageWindows().size(), 1);
}

TEST_F(FilterGcpItemsTest, AFilterThatFailsOpensNothing) {
    Frame->CreateMDIChild(WritePicture(QStringLiteral("photo.bmp"), 30, 20), false);
    StoreFilterKernel({3, std::vector<int32_t>(9, 1), 0});
    AnswerSave(File("bad.bmp"));
    Trigger("DoFiltering");
    EXPECT_EQ(Host.LastStatus(), StatusOf(ShowErrorMessage, "ERR22"));
    EXPECT_FALSE(QFileInfo::exists(File("bad.BMP")));
    EXPECT_EQ(Frame->ImageWindows().size(), 1);
}

TEST_F(FilterGcpItemsTest, TheControlPointItemsPickFitAndWriteTheCorrectedPhotograph) {
    TLeafImageWindow* window = Frame->CreateMDIChild(WritePicture(QStringLiteral("photo.bmp"), 40, 30), false);
    // Nothing fitted yet: said before a name is asked.
    const auto refusedWithoutFit = [this] {
        Host.StatusTexts.clear();
        AnswerSave(File("never.bmp"));
        Trigger("AfineTrans");
        EXPECT_FALSE(Asked);
        EXPECT_EQ(Host.LastStatus(), StatusOf(ShowErrorMessage, "ERR29"));
    };
    refusedWithoutFit();
    Trigger("GetGCP");
    TAfinDlg* dialog = window->AfinDlg();
    ASSERT_NE(dialog, nullptr);
    refusedWithoutFit();
    const struct {
        int Col, Row;
        const char *X, *Y;
    } points[] = {{10, 5, "0", "0"}, {30, 5, "10", "0"}, {10, 25, "0", "10"}};
    for (const auto& point : points) {
        window->Image1MouseDown(Qt::LeftButton, point.Col, point.Row);
        dialog->SetCell(1, dialog->GCPCount, QLatin1String(point.X));
        dialog->SetCell(2, dialog->GCPCount, QLatin1String(point.Y));
    }
    TurnToPageOf(*dialog->Analyze);
    UserClick(dialog->Analyze);
    TurnToPageOf(*dialog->Auto_Size);
    UserClick(dialog->Auto_Size);
    dialog->Pixel_Size->setText(QStringLiteral("0.5"));
    TurnToPageOf(*dialog->Calc_IMS);
    UserClick(dialog->Calc_IMS);
    AnswerSave(File("level.bmp"));
    Trigger("AfineTrans");
    ASSERT_EQ(Frame->ImageWindows().size(), 2);
    EXPECT_EQ(QFileInfo(Frame->ActiveImageWindow()->FFileName), QFileInfo(File("level.bmp")));
    EXPECT_EQ(Frame->ActiveImageWindow()->Picture().Width(), 20);
    // A cleared table takes the fit with it.
    window->SearchSettings();
    dialog->ClearTable->click();
    refusedWithoutFit();
    EXPECT_EQ(Frame->ImageWindows().size(), 2);
}

}  // namespace
}  // namespace tam32::test
