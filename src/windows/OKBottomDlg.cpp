#include "windows/OKBottomDlg.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "platform/Rounding.h"
#include "windows/NamedWidgets.h"
#include "windows/PictureFile.h"
#include "windows/RadioGroup.h"

namespace tam32 {
namespace {

void Load(QSpinBox* Edit, int Min, int Max, int Value) {
    const QSignalBlocker blocker(Edit);
    Edit->setRange(Min, Max);
    Edit->setValue(Value);
}

// The dialog text of Key.
QString Text(const char* Key) { return GetDialogMessage(QLatin1String(Key)); }

// The form's own caption, which only the period layout replaces.
const QString kSettingCaption = QStringLiteral("Setting");

// Start (A1, A2) lies strictly before end (B1, B2).
bool Before(int A1, int A2, int B1, int B2) { return A1 < B1 || (A1 == B1 && A2 < B2); }

}  // namespace

TOKBottomDlg::TOKBottomDlg(QWidget* Parent) : QDialog(Parent) {
    setObjectName(QStringLiteral("OKBottomDlg"));

    Panel1 = new QWidget(this);
    SpinEdit1 = NamedSpinEdit(Panel1, "SpinEdit1", 0, 23);
    SpinEdit2 = NamedSpinEdit(Panel1, "SpinEdit2", 0, 59);
    SpinEdit3 = NamedSpinEdit(Panel1, "SpinEdit3", 0, 23);
    SpinEdit4 = NamedSpinEdit(Panel1, "SpinEdit4", 0, 59);
    // Captioned for times or dates when shown.
    for (QLabel** label : {&Label7, &Label8, &Label3, &Label5, &Label4, &Label6}) *label = new QLabel(Panel1);
    auto* grid1 = new QGridLayout(Panel1);
    grid1->addWidget(Label7, 0, 0);
    grid1->addWidget(SpinEdit1, 0, 1);
    grid1->addWidget(Label3, 0, 2);
    grid1->addWidget(SpinEdit2, 0, 3);
    grid1->addWidget(Label4, 0, 4);
    grid1->addWidget(Label8, 1, 0);
    grid1->addWidget(SpinEdit3, 1, 1);
    grid1->addWidget(Label5, 1, 2);
    grid1->addWidget(SpinEdit4, 1, 3);
    grid1->addWidget(Label6, 1, 4);
    connect(SpinEdit1, &QSpinBox::valueChanged, this, &TOKBottomDlg::SpinEdit1Change);

    Panel2 = new QWidget(this);
    Edit1 = new QLineEdit(Panel2);
    Edit2 = new QLineEdit(Panel2);
    SpeedButton1 = new QToolButton(Panel2);
    SpeedButton2 = new QToolButton(Panel2);
    for (QToolButton* button : {SpeedButton1, SpeedButton2}) button->setText(QStringLiteral(".."));
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { ChooseFile(Edit1); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { ChooseFile(Edit2); });
    SpinEdit5 = NamedSpinEdit(Panel2, "SpinEdit5", 0, 1000000);
    SpinEdit8 = NamedSpinEdit(Panel2, "SpinEdit8", 0, 1000000);
    SpinEdit6 = NamedSpinEdit(Panel2, "SpinEdit6", 1, 10000);
    SpinEdit6->setToolTip(Text("DMS101"));
    SpinEdit7 = NamedSpinEdit(Panel2, "SpinEdit7", 1, 100);
    SpinEdit7->setToolTip(Text("DMS102"));
    SpinEdit9 = NamedSpinEdit(Panel2, "SpinEdit9", 0, 1000000);
    SpinEdit10 = NamedSpinEdit(Panel2, "SpinEdit10", 0, 1000000);
    Label9 = BuddyLabel(Panel2, Text("DMS75"), SpinEdit5);
    Label13 = BuddyLabel(Panel2, QStringLiteral("－"), SpinEdit8);
    Label10 = BuddyLabel(Panel2, Text("DMS76"), SpinEdit6);
    Label12 = BuddyLabel(Panel2, Text("DMS77"), SpinEdit7);
    // The object numbers are those of the labelling report's first column.
    const QString objectNo = Text("DMS48").section(u'\t', 0, 0);
    RadioGroup1 = new TRadioGroup(Text("DMS78"), {Text("DMS80"), Text("DMS81")}, Panel2);
    RadioGroup1->SetItemIndex(0);
    RadioGroup2 = new TRadioGroup(Text("DMS79"), {Text("DMS82"), Text("DMS83")}, Panel2);
    RadioGroup2->SetItemIndex(1);
    auto* grid2 = new QGridLayout(Panel2);
    grid2->addWidget(BuddyLabel(Panel2, Text("DMS104"), Edit1), 0, 0);
    grid2->addWidget(Edit1, 0, 1, 1, 3);
    grid2->addWidget(SpeedButton1, 0, 4);
    grid2->addWidget(BuddyLabel(Panel2, objectNo, SpinEdit9), 0, 5);
    grid2->addWidget(SpinEdit9, 0, 6);
    grid2->addWidget(BuddyLabel(Panel2, Text("DMS105"), Edit2), 1, 0);
    grid2->addWidget(Edit2, 1, 1, 1, 3);
    grid2->addWidget(SpeedButton2, 1, 4);
    grid2->addWidget(BuddyLabel(Panel2, objectNo, SpinEdit10), 1, 5);
    grid2->addWidget(SpinEdit10, 1, 6);
    grid2->addWidget(Label9, 2, 0);
    grid2->addWidget(SpinEdit5, 2, 1);
    grid2->addWidget(Label13, 2, 2);
    grid2->addWidget(SpinEdit8, 2, 3);
    grid2->addWidget(Label10, 3, 0);
    grid2->addWidget(SpinEdit6, 3, 1);
    grid2->addWidget(Label12, 3, 2);
    grid2->addWidget(SpinEdit7, 3, 3);
    grid2->addWidget(RadioGroup1, 4, 0, 1, 2);
    grid2->addWidget(RadioGroup2, 4, 2, 1, 2);

    Panel3 = new QWidget(this);
    SpinEdit11 = NamedSpinEdit(Panel3, "SpinEdit11", 1, 100);
    SpinEdit12 = NamedSpinEdit(Panel3, "SpinEdit12", 1, 100);
    SpinEdit13 = NamedSpinEdit(Panel3, "SpinEdit13", 1, 100);
    Label1 = new QLabel(Panel3);
    Label2 = new QLabel(Panel3);
    Label11 = new QLabel(Panel3);
    auto* row3 = new QHBoxLayout(Panel3);
    for (auto [label, edit] : {std::pair(Label1, SpinEdit11), std::pair(Label2, SpinEdit12), std::pair(Label11, SpinEdit13)}) {
        row3->addWidget(label);
        row3->addWidget(edit);
    }

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(OKBtn, &QPushButton::clicked, this, &TOKBottomDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TOKBottomDlg::CancelBtnClick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);

    auto* layout = new QVBoxLayout(this);
    for (QWidget* panel : {Panel1, Panel2, Panel3}) layout->addWidget(panel);
    layout->addLayout(buttons);
    FormCreate();
}

void TOKBottomDlg::showEvent(QShowEvent* Event) {
    FormCreate();
    QDialog::showEvent(Event);
}

void TOKBottomDlg::FormCreate() {
    Panel1->setVisible(Mode == mdPARPeriod);
    Panel2->setVisible(Mode == mdGapEstimate);
    Panel3->setVisible(Mode == mdLightLevel);
    switch (Mode) {
        case mdPARPeriod: {
            Label7->setText(Text(DateRange ? "DMS65" : "DMS67"));
            Label8->setText(Text(DateRange ? "DMS66" : "DMS68"));
            Label3->setText(Text(DateRange ? "DMS69" : "DMS71"));
            Label5->setText(Label3->text());
            Label4->setText(Text(DateRange ? "DMS70" : "DMS72"));
            Label6->setText(Label4->text());
            setWindowTitle(Text(DateRange ? "DMS73" : "DMS74"));
            const int first = DateRange ? 1 : 0;
            for (QSpinBox* edit : {SpinEdit1, SpinEdit3}) Load(edit, first, DateRange ? 12 : 23, first);
            for (QSpinBox* edit : {SpinEdit2, SpinEdit4}) Load(edit, first, DateRange ? 31 : 59, first);
            break;
        }
        case mdGapEstimate:
            Edit1->setText(GapImageFile1);
            Edit2->setText(GapImageFile2);
            Load(SpinEdit5, SpinEdit5->minimum(), SpinEdit5->maximum(), RoundInt(GapCameraHeight1));
            Load(SpinEdit8, SpinEdit8->minimum(), SpinEdit8->maximum(), RoundInt(GapCameraHeight2));
            Load(SpinEdit6, SpinEdit6->minimum(), SpinEdit6->maximum(), RoundInt(GapFocalLength));
            Load(SpinEdit7, SpinEdit7->minimum(), SpinEdit7->maximum(), RoundInt(GapZoomPercent));
            Load(SpinEdit9, SpinEdit9->minimum(), SpinEdit9->maximum(), GapObjectNo1);
            Load(SpinEdit10, SpinEdit10->minimum(), SpinEdit10->maximum(), GapObjectNo2);
            RadioGroup2->SetItemIndex(ShrinkBeforeAnalysis ? 0 : 1);
            setWindowTitle(kSettingCaption);
            break;
        case mdLightLevel:
            setWindowTitle(kSettingCaption);
            Label1->setText(QStringLiteral("R"));
            Label2->setText(QStringLiteral("G"));
            Label11->setText(QStringLiteral("B"));
            for (QSpinBox* edit : {SpinEdit11, SpinEdit12, SpinEdit13}) {
                Load(edit, 1, 100, 10);
                edit->setSingleStep(5);
            }
            break;
        default: break;
    }
    adjustSize();
}

void TOKBottomDlg::OKBtnClick() {
    switch (Mode) {
        case mdPARPeriod:
            PARPeriod = -1;
            if (Before(SpinEdit1->value(), SpinEdit2->value(), SpinEdit3->value(), SpinEdit4->value())) {
                int& startFirst = DateRange ? PARStartMonth : PARStartHour;
                int& startSecond = DateRange ? PARStartDay : PARStartMinute;
                int& endFirst = DateRange ? PAREndMonth : PAREndHour;
                int& endSecond = DateRange ? PAREndDay : PAREndMinute;
                PARPeriod = DateRange ? 6 : 5;
                startFirst = SpinEdit1->value();
                startSecond = SpinEdit2->value();
                endFirst = SpinEdit3->value();
                endSecond = SpinEdit4->value();
            }
            break;
        case mdGapEstimate:
            GapImageFile1 = Edit1->text();
            GapImageFile2 = Edit2->text();
            GapCameraHeight1 = static_cast<float>(SpinEdit5->value());
            GapCameraHeight2 = static_cast<float>(SpinEdit8->value());
            GapBaseDistance = std::fabs(GapCameraHeight1 - GapCameraHeight2) / 1000.0f;
            if (!(GapBaseDistance > 0)) {
                QMessageBox::information(this, windowTitle(), Text("DMS103"));
                break;
            }
            GapFocalLength = static_cast<float>(SpinEdit6->value());
            GapZoomPercent = static_cast<float>(SpinEdit7->value());
            GapObjectNo1 = std::max(1, SpinEdit9->value());
            GapObjectNo2 = std::max(1, SpinEdit10->value());
            CalcTraceLengthRatio = true;
            ThresholdCondition = 0;
            BinarizeTarget = 2;
            MaxLabelBuffSize = 20000;
            MinLabelledArea = 5000;
            LabelingDuplicate = true;
            break;
        default: break;
    }
    accept();
}

void TOKBottomDlg::CancelBtnClick() { reject(); }

void TOKBottomDlg::reject() {
    PARPeriod = -1;
    QDialog::reject();
}

void TOKBottomDlg::SpinEdit1Change() {
    if (SpinEdit3->value() < SpinEdit1->value()) SpinEdit3->setValue(SpinEdit1->value());
}

void TOKBottomDlg::ChooseFile(QLineEdit* Edit) {
    QFileDialog dialog(this);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(PictureOpenFilter());
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        Edit->setText(dialog.selectedFiles().first());
}

}  // namespace tam32
