// The period and gap-estimate layouts of the small settings dialog.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QTimer>
#include <map>

#include "analysis/core/GlobalSettings.h"
#include "common/widget_app_env.h"
#include "windows/OKBottomDlg.h"
#include "windows/RadioGroup.h"

namespace tam32 {
namespace {

class PeriodDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::RequireWidgetApp();
        ResetSettingsToDefaults(QDate(2024, 6, 1));
    }
    void TearDown() override { ResetSettingsToDefaults(QDate(2024, 6, 1)); }

    // The dialog in Mode as it is prepared for showing.
    std::unique_ptr<TOKBottomDlg> Dialog(int Mode, bool DateRange = false) {
        auto dialog = std::make_unique<TOKBottomDlg>();
        dialog->Mode = Mode;
        dialog->DateRange = DateRange;
        dialog->show();
        return dialog;
    }
    static void Set(TOKBottomDlg& D, int A1, int A2, int B1, int B2) {
        D.SpinEdit1->setValue(A1);
        D.SpinEdit2->setValue(A2);
        D.SpinEdit3->setValue(B1);
        D.SpinEdit4->setValue(B2);
    }
};

TEST_F(PeriodDialogTest, TimesStoreThePeriodOnlyWhenTheStartIsBeforeTheEnd) {
    auto dialog = Dialog(TOKBottomDlg::mdPARPeriod);
    EXPECT_TRUE(dialog->Panel1->isVisible());
    EXPECT_FALSE(dialog->Panel3->isVisible());
    EXPECT_EQ(dialog->SpinEdit1->maximum(), 23);
    Set(*dialog, 10, 30, 10, 30);
    dialog->OKBtnClick();
    EXPECT_EQ(PARPeriod, -1);
    dialog = Dialog(TOKBottomDlg::mdPARPeriod);
    Set(*dialog, 10, 30, 10, 31);
    dialog->OKBtnClick();
    EXPECT_EQ(PARPeriod, 5);
    EXPECT_EQ(std::tuple(PARStartHour, PARStartMinute, PAREndHour, PAREndMinute), std::tuple(10, 30, 10, 31));
}

TEST_F(PeriodDialogTest, DatesLiftTheEndMonthToTheStartMonth) {
    auto dialog = Dialog(TOKBottomDlg::mdPARPeriod, true);
    EXPECT_EQ(dialog->SpinEdit1->value(), 1);
    EXPECT_EQ(dialog->SpinEdit2->maximum(), 31);
    dialog->SpinEdit3->setValue(2);
    dialog->SpinEdit1->setValue(3);
    EXPECT_EQ(dialog->SpinEdit3->value(), 3);
    dialog->SpinEdit2->setValue(15);
    dialog->SpinEdit4->setValue(1);
    dialog->OKBtnClick();
    EXPECT_EQ(PARPeriod, -1);
    dialog = Dialog(TOKBottomDlg::mdPARPeriod, true);
    Set(*dialog, 3, 15, 4, 1);
    dialog->OKBtnClick();
    EXPECT_EQ(PARPeriod, 6);
    EXPECT_EQ(std::tuple(PARStartMonth, PARStartDay, PAREndMonth, PAREndDay), std::tuple(3, 15, 4, 1));
}

TEST_F(PeriodDialogTest, EscapeCancelsThePeriod) {
    PARPeriod = 5;
    auto dialog = Dialog(TOKBottomDlg::mdPARPeriod);
    dialog->reject();
    EXPECT_EQ(PARPeriod, -1);
}

TEST_F(PeriodDialogTest, GapInputsAreLoadedAndStoredWithTheLabellingSettings) {
    GapImageFile1 = QStringLiteral("upper.jpg");
    GapFocalLength = 36.4f;
    ShrinkBeforeAnalysis = true;
    auto dialog = Dialog(TOKBottomDlg::mdGapEstimate);
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("upper.jpg"));
    EXPECT_EQ(dialog->SpinEdit6->value(), 36);
    EXPECT_EQ(dialog->RadioGroup2->ItemIndex(), 0);
    EXPECT_EQ(dialog->RadioGroup1->ItemIndex(), 0);
    dialog->SpinEdit5->setValue(1500);
    dialog->SpinEdit8->setValue(1200);
    dialog->SpinEdit9->setValue(0);
    dialog->SpinEdit10->setValue(4);
    dialog->OKBtnClick();
    EXPECT_FLOAT_EQ(GapBaseDistance, 0.3f);
    EXPECT_EQ(GapObjectNo1, 1);
    EXPECT_EQ(GapObjectNo2, 4);
    EXPECT_TRUE(CalcTraceLengthRatio);
    EXPECT_EQ(BinarizeTarget, 2);
    EXPECT_EQ(MinLabelledArea, 5000);
    EXPECT_TRUE(LabelingDuplicate);
}

TEST_F(PeriodDialogTest, EachLayoutHasItsCaptionAndTheGapInputsTheirLabels) {
    struct TCase {
        int Mode;
        bool DateRange;
        const char* Caption;
    };
    const TCase cases[] = {{TOKBottomDlg::mdPARPeriod, false, "Times of the day"},
                           {TOKBottomDlg::mdPARPeriod, true, "Period of dates"},
                           {TOKBottomDlg::mdGapEstimate, false, "Setting"},
                           {TOKBottomDlg::mdLightLevel, false, "Setting"}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Caption);
        EXPECT_EQ(Dialog(c.Mode, c.DateRange)->windowTitle(), QLatin1String(c.Caption));
    }
    // Each field of the gap inputs is named by a label.
    auto dialog = Dialog(TOKBottomDlg::mdGapEstimate);
    std::map<QWidget*, QString> labels;
    for (QLabel* label : dialog->Panel2->findChildren<QLabel*>())
        if (label->buddy() != nullptr) labels[label->buddy()] = label->text();
    for (QWidget* field : dialog->Panel2->findChildren<QWidget*>()) {
        const bool edit = qobject_cast<QLineEdit*>(field) != nullptr &&
                          qobject_cast<QAbstractSpinBox*>(field->parentWidget()) == nullptr;
        if (!edit && qobject_cast<QAbstractSpinBox*>(field) == nullptr) continue;
        SCOPED_TRACE(field->objectName().toStdString());
        EXPECT_FALSE(labels[field].isEmpty());
    }
    EXPECT_EQ(labels[dialog->Edit1], QStringLiteral("First photograph"));
    EXPECT_EQ(labels[dialog->Edit2], QStringLiteral("Second photograph"));
    for (QSpinBox* number : {dialog->SpinEdit9, dialog->SpinEdit10}) EXPECT_EQ(labels[number], QStringLiteral("No."));
}

TEST_F(PeriodDialogTest, EqualHeightsAreReportedAndStoreNoMore) {
    auto dialog = Dialog(TOKBottomDlg::mdGapEstimate);
    dialog->SpinEdit5->setValue(1000);
    dialog->SpinEdit8->setValue(1000);
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    dialog->OKBtnClick();
    EXPECT_EQ(shown, QStringLiteral("Set two different camera heights!"));
    EXPECT_EQ(GapBaseDistance, 0.0f);
    EXPECT_FLOAT_EQ(GapCameraHeight1, 1000.0f);
    EXPECT_FALSE(CalcTraceLengthRatio);
}

}  // namespace
}  // namespace tam32
