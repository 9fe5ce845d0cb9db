// What the options dialog does: its two modes, the controls filled from and
// read into the option fields, and the handlers of its controls and buttons.
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>

#include "analysis/AreaHistogram.h"
#include "analysis/Classifier.h"
#include "analysis/EngineHost.h"
#include "analysis/GlobalSettings.h"
#include "analysis/Messages.h"
#include "analysis/SettingsFile.h"
#include "platform/Exceptions.h"
#include "windows/HistgramWindow.h"
#include "windows/RadioGroup.h"
#include "windows/SelectFolder.h"
#include "windows/TamOptionDialog.h"

namespace tam32 {
namespace {

constexpr int kBinarizationNCType = 3;

// The maximum view angle and photograph radius that choosing a lens type
// presets; the CoolPix lens and the normal lens keep what the fields hold.
struct TLensPreset {
    int Item;
    const char* ViewAngle;
    const char* Radius;
};
constexpr TLensPreset kLensPresets[] = {
    {0, "90.0", "11.5"}, {1, "89.97", "11.5"}, {2, "90.0", "11.0"},
    {3, "89.68", "11.0"}, {4, "89.68", "11.0"}, {6, "90.0", "3.21"},
};

// The value a spin edit is given, no handler running.
void Show(QSpinBox* Edit, int Value) {
    const QSignalBlocker blocker(Edit);
    Edit->setValue(Value);
}

}  // namespace

void TTamOptionDialog::Setup(const QString& ImageFile, int Left, int Top, int Right, int Bottom) {
    FPickAllowed = false;
    FImageFile = ImageFile;
    FTagArea = {Left, Top, Right, Bottom};
    LocalizeCaptions();
    for (QWidget* page : {TabSheet5, TabSheet2, TabSheet1, TabSheet4, TabSheet3})
        PageControl1->setTabVisible(PageControl1->indexOf(page), page != TabSheet3);
    PageControl1->setCurrentWidget(TabSheet5);
    Button5->show();
    Button6->show();
    DpiUnit->setText(QStringLiteral("DPI"));
    RadiusUnit->setText(QStringLiteral("mm"));
    ShowFields(OptionFieldsFromSettings(ImageFile));
    FPickAllowed = true;
    FGroupSelection = false;
}

void TTamOptionDialog::SetupGroupSelection() {
    Label6->setText(GetFormCaption(QStringLiteral("OPTION"), 50));
    Label7->setText(GetFormCaption(QStringLiteral("OPTION"), 51));
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheet3), true);
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheet1), false);
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheet2), false);
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheet4), true);
    PageControl1->setCurrentWidget(TabSheet3);
    Button5->hide();
    Button6->hide();
    ListBox1->clear();
    ListBox2->clear();
    for (int group = 0; group <= DiscLastGroup; ++group) {
        ListBox1->addItem(QString::number(group + 1));
        RecognizedGroups[group] = false;
    }
    OptionsCancelled = false;
    FGroupSelection = true;
}

void TTamOptionDialog::ShowFields(const TOptionFields& Fields) {
    FFields = Fields;
    ColorGroup1->SetItemIndex(Fields.BinarizeTarget);
    TargetGroup1->SetItemIndex(Fields.ThresholdMethod);
    Show(SpinEdit7, Fields.FixedThreshold);
    JhokenGroup1->SetItemIndex(Fields.ThresholdCondition);
    Edit1->setText(Fields.ImageDPI);
    Show(SpinEdit4, Fields.DistortParameter);
    CheckBox6->setChecked(Fields.DistortAuto);
    Show(SpinEdit8, Fields.ColorSearchToleranceR);
    Show(SpinEdit9, Fields.ColorSearchToleranceG);
    Show(SpinEdit10, Fields.ColorSearchToleranceB);
    CheckBox7->setChecked(Fields.ColorSearchPercent);
    Show(SpinEdit1, Fields.MaxLabelBuffSize);
    Show(SpinEdit5, Fields.MinLabelledArea);
    Show(SpinEdit6, Fields.MaxLabelledArea);
    CheckBox1->setChecked(Fields.ShowLabelledNumber);
    CheckBox3->setChecked(Fields.CalcTraceLengthRatio);
    CheckBox4->setChecked(Fields.LabelTraceVectorize);
    VecFileName->setText(Fields.LabelTraceVectorFolder);
    CheckBox5->setChecked(Fields.LabelingDuplicate);
    ComboBox1->setCurrentIndex(Fields.LensType);
    Edit20->setText(Fields.MaxViewAngle);
    Edit3->setText(Fields.ScanPhotoRadius);
    Edit21->setText(Fields.AzimuthMaskFrom);
    Edit22->setText(Fields.AzimuthMaskTo);
    CheckBox2->setChecked(Fields.AzimuthMaskUse);
    Edit5->setText(Fields.SlopeInclination);
    Edit6->setText(Fields.SlopeAzimuth);
    CheckBox8->setChecked(Fields.SlopeCorrection);
    ComboBox2->setCurrentIndex(Fields.NCType);
    FisheyeCorectGroupBox->SetItemIndex(Fields.ZenithThresholdType);
    Show(SpinEdit2, Fields.NCStart);
    Show(SpinEdit3, Fields.NCEnd);
    for (int ring = 0; ring < 5; ++ring) vring[ring]->setChecked(Fields.RingUse[static_cast<size_t>(ring)]);
    for (auto [edit, value] : {std::pair(LatEdit1, Fields.LatitudeH), std::pair(LatEdit2, Fields.LatitudeM),
                               std::pair(LatEdit3, Fields.LatitudeS), std::pair(LongEdit1, Fields.LongitudeH),
                               std::pair(LongEdit2, Fields.LongitudeM), std::pair(LongEdit3, Fields.LongitudeS)})
        Show(edit, value);
    Edit14->setText(Fields.Tau);
    Edit15->setText(Fields.AboveSea);
    Edit16->setText(Fields.PARRatio);
    Edit2->setText(Fields.DiffuseRatio);
    Edit17->setText(Fields.TimeZone);
    DifModelGroup->SetItemIndex(Fields.DifModel);
    Show(YearEdit, Fields.TargetYear);
    Show(MonthEdit, Fields.TargetMonth);
    Show(DayEdit, Fields.TargetDay);
    ShowTargetChoice();
    ShowVectorFolder();
}

TOptionFields TTamOptionDialog::ReadFields() const {
    TOptionFields f = FFields;
    const auto chosen = [](int Index, int& Field) {
        if (Index >= 0) Field = Index;
    };
    f.FixedThreshold = SpinEdit7->value();
    f.ImageDPI = Edit1->text();
    f.DistortParameter = SpinEdit4->value();
    f.DistortAuto = CheckBox6->isChecked();
    f.ColorSearchToleranceR = SpinEdit8->value();
    f.ColorSearchToleranceG = SpinEdit9->value();
    f.ColorSearchToleranceB = SpinEdit10->value();
    f.ColorSearchPercent = CheckBox7->isChecked();
    f.MaxLabelBuffSize = SpinEdit1->value();
    f.MinLabelledArea = SpinEdit5->value();
    f.MaxLabelledArea = SpinEdit6->value();
    f.ShowLabelledNumber = CheckBox1->isChecked();
    f.CalcTraceLengthRatio = CheckBox3->isChecked();
    f.LabelTraceVectorize = CheckBox4->isChecked();
    f.LabelTraceVectorFolder = VecFileName->text();
    f.LabelingDuplicate = CheckBox5->isChecked();
    chosen(ComboBox1->currentIndex(), f.LensType);
    f.MaxViewAngle = Edit20->text();
    f.ScanPhotoRadius = Edit3->text();
    f.AzimuthMaskFrom = Edit21->text();
    f.AzimuthMaskTo = Edit22->text();
    f.AzimuthMaskUse = CheckBox2->isChecked();
    f.SlopeInclination = Edit5->text();
    f.SlopeAzimuth = Edit6->text();
    f.SlopeCorrection = CheckBox8->isChecked();
    chosen(ComboBox2->currentIndex(), f.NCType);
    chosen(FisheyeCorectGroupBox->ItemIndex(), f.ZenithThresholdType);
    f.NCStart = SpinEdit2->value();
    f.NCEnd = SpinEdit3->value();
    for (int ring = 0; ring < 5; ++ring) f.RingUse[static_cast<size_t>(ring)] = vring[ring]->isChecked();
    f.LatitudeH = LatEdit1->value();
    f.LatitudeM = LatEdit2->value();
    f.LatitudeS = LatEdit3->value();
    f.LongitudeH = LongEdit1->value();
    f.LongitudeM = LongEdit2->value();
    f.LongitudeS = LongEdit3->value();
    f.Tau = Edit14->text();
    f.AboveSea = Edit15->text();
    f.PARRatio = Edit16->text();
    f.DiffuseRatio = Edit2->text();
    f.TimeZone = Edit17->text();
    chosen(DifModelGroup->ItemIndex(), f.DifModel);
    f.TargetYear = YearEdit->value();
    f.TargetMonth = MonthEdit->value();
    f.TargetDay = DayEdit->value();
    return f;
}

void TTamOptionDialog::ShowTargetChoice() {
    const bool thresholds = FFields.BinarizeTarget != kClassificationTarget;
    TargetGroup1->setEnabled(thresholds);
    JhokenGroup1->setEnabled(thresholds);
}

void TTamOptionDialog::ShowVectorFolder() {
    for (QWidget* control : std::initializer_list<QWidget*>{VecFileName, GotoSelectFolder}) {
        control->setEnabled(CheckBox4->isChecked());
        control->setVisible(CheckBox4->isChecked());
    }
}

QWidget* TTamOptionDialog::FieldControl(TOptionField Field) const {
    switch (Field) {
        case TOptionField::ScanPhotoRadius: return Edit3;
        case TOptionField::MaxViewAngle: return Edit20;
        case TOptionField::AzimuthMaskFrom: return Edit21;
        case TOptionField::AzimuthMaskTo: return Edit22;
        case TOptionField::SlopeInclination: return Edit5;
        case TOptionField::SlopeAzimuth: return Edit6;
        case TOptionField::ImageDPI: return Edit1;
        case TOptionField::Tau: return Edit14;
        case TOptionField::AboveSea: return Edit15;
        case TOptionField::PARRatio: return Edit16;
        case TOptionField::DiffuseRatio: return Edit2;
        case TOptionField::TimeZone: return Edit17;
        case TOptionField::TargetYear: return YearEdit;
        case TOptionField::TargetDay: return DayEdit;
    }
    return nullptr;
}

void TTamOptionDialog::Button1Click() {
    if (FGroupSelection) {
        for (int row = 0; row < ListBox1->count(); ++row) {
            bool ok = false;
            const int group = ListBox1->item(row)->text().toInt(&ok);
            if (ok && group >= 1 && group <= int(RecognizedGroups.size())) RecognizedGroups[group - 1] = true;
        }
        accept();
        return;
    }
    if (const std::optional<TOptionField> refused = ApplyOptionFields(ReadFields())) {
        QWidget* control = FieldControl(*refused);
        // A field of the hidden slope group, which only a loaded file fills,
        // is shown, so that the user sees what to mend.
        for (QWidget* page = control; page != nullptr; page = page->parentWidget()) {
            if (PageControl1->indexOf(page) >= 0) PageControl1->setCurrentWidget(page);
            if (page->isHidden()) page->show();
        }
        control->setFocus();
        return;
    }
    accept();
}

void TTamOptionDialog::Button2Click() { reject(); }

void TTamOptionDialog::reject() {
    if (FGroupSelection) OptionsCancelled = true;
    QDialog::reject();
}

void TTamOptionDialog::Button5Click() {
    try {
        WriteSettingsFile(SettingsFile, ReadFields());
    } catch (const Exception& e) {
        EngineHost().ShowMessage(e.Message());
    }
}

void TTamOptionDialog::Button6Click() {
    TOptionFields fields = ReadFields();
    ReadSettingsFile(SettingsFile, fields, FImageFile);
    ShowFields(fields);
}

void TTamOptionDialog::BitBtn1Click() {
    if (FFields.BinarizeTarget < 0 || FFields.BinarizeTarget >= kClassificationTarget || !FPickAllowed) return;
    if (CalcAreaHistogram(FImageFile, FTagArea)) {
        EngineHost().ShowMessage(QStringLiteral("Error"));
        return;
    }
    // The pick starts from the threshold field and ends in it: the setting
    // itself changes only on OK.
    const int kept = FixedThreshold;
    FixedThreshold = SpinEdit7->value();
    THistgramWindow window(this);
    window.SetupThresholdPick(FImageFile, FFields.BinarizeTarget, FFields.ThresholdCondition);
    window.setWindowTitle(QFileInfo(FImageFile).fileName().toUpper() + QStringLiteral("(Histgram)"));
    window.exec();
    const int picked = FixedThreshold;
    FixedThreshold = kept;
    Show(SpinEdit7, picked);
    SpinEdit7Click();
}

void TTamOptionDialog::ColorGroup1Change() {
    FFields.BinarizeTarget = ColorGroup1->ItemIndex();
    ShowTargetChoice();
}

void TTamOptionDialog::TargetGroup1Change() { FFields.ThresholdMethod = TargetGroup1->ItemIndex(); }

void TTamOptionDialog::JhokenGroup1Change() { FFields.ThresholdCondition = JhokenGroup1->ItemIndex(); }

void TTamOptionDialog::SpinEdit7Click() {
    TargetGroup1->SetItemIndex(kFixedMethodItem);
    FFields.ThresholdMethod = kFixedMethodItem;
}

void TTamOptionDialog::SpinEdit2Change() { SpinEdit3->setValue(LiftedNCEnd(SpinEdit2->value(), SpinEdit3->value())); }

void TTamOptionDialog::ComboBox1Change() {
    const int item = ComboBox1->currentIndex();
    const auto preset = std::find_if(std::begin(kLensPresets), std::end(kLensPresets),
                                     [item](const TLensPreset& P) { return P.Item == item; });
    if (preset == std::end(kLensPresets)) return;
    Edit20->setText(QLatin1String(preset->ViewAngle));
    Edit3->setText(QLatin1String(preset->Radius));
}

void TTamOptionDialog::ComboBox2Change() {
    FisheyeCorectGroupBox->setVisible(ComboBox2->currentIndex() == kBinarizationNCType);
}

void TTamOptionDialog::CheckBox4Click() {
    if (CheckBox4->isChecked()) {
        CheckBox3->setChecked(true);
        VecFileName->setText(VectorFolderWhenTicked(FImageFile));
    }
    ShowVectorFolder();
}

void TTamOptionDialog::GotoSelectFolderClick() {
    if (SelectFolderDialog->Execute()) VecFileName->setText(SelectFolderDialog->GetDirectory());
}

void TTamOptionDialog::Button3Click() {
    if (ListBox1->currentRow() >= 0) ListBox2->addItem(ListBox1->takeItem(ListBox1->currentRow()));
}

void TTamOptionDialog::Button4Click() {
    if (ListBox2->currentRow() >= 0) ListBox1->addItem(ListBox2->takeItem(ListBox2->currentRow()));
}

}  // namespace tam32
