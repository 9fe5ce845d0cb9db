// What the options dialog does: its two modes, the controls filled from and
// read into the option fields, and the handlers of its controls and buttons.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
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
#include <optional>

#include "analysis/core/Classifier.h"
#include "analysis/core/EngineHost.h"
#include "analysis/core/ExceptionText.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/core/SettingsFile.h"
#include "analysis/geometry/AreaHistogram.h"
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

// A file's name as the status bar shows it: absolute, in the system's separators.
QString FullPath(const QString& File) { return QDir::toNativeSeparators(QFileInfo(File).absoluteFilePath()); }

// The value a spin edit is given, no handler running.
void Show(QSpinBox* Edit, int Value) {
    const QSignalBlocker blocker(Edit);
    Edit->setValue(Value);
}

// A control of the dialog and the field it shows; Checked names the field
// when OK checks it, so that a refused field leads to its control.
template <typename TControl, typename TValue>
struct TBinding {
    TControl* TTamOptionDialog::*Control;
    TValue TOptionFields::*Field;
    std::optional<TOptionField> Checked = std::nullopt;
};
using D = TTamOptionDialog;
using F = TOptionFields;
using O = TOptionField;

// The plain controls, which show their field as it is and give it back.
const TBinding<QLineEdit, QString> kTextControls[] = {
    {&D::Edit1, &F::ImageDPI, O::ImageDPI},
    {&D::VecFileName, &F::LabelTraceVectorFolder},
    {&D::Edit20, &F::MaxViewAngle, O::MaxViewAngle},
    {&D::Edit3, &F::ScanPhotoRadius, O::ScanPhotoRadius},
    {&D::Edit21, &F::AzimuthMaskFrom, O::AzimuthMaskFrom},
    {&D::Edit22, &F::AzimuthMaskTo, O::AzimuthMaskTo},
    {&D::Edit5, &F::SlopeInclination, O::SlopeInclination},
    {&D::Edit6, &F::SlopeAzimuth, O::SlopeAzimuth},
    {&D::Edit14, &F::Tau, O::Tau},
    {&D::Edit15, &F::AboveSea, O::AboveSea},
    {&D::Edit16, &F::PARRatio, O::PARRatio},
    {&D::Edit2, &F::DiffuseRatio, O::DiffuseRatio},
    {&D::Edit17, &F::TimeZone, O::TimeZone},
};
const TBinding<QSpinBox, int> kNumberControls[] = {
    {&D::SpinEdit7, &F::FixedThreshold},
    {&D::SpinEdit4, &F::DistortParameter},
    {&D::SpinEdit8, &F::ColorSearchToleranceR},
    {&D::SpinEdit9, &F::ColorSearchToleranceG},
    {&D::SpinEdit10, &F::ColorSearchToleranceB},
    {&D::SpinEdit1, &F::MaxLabelBuffSize},
    {&D::SpinEdit5, &F::MinLabelledArea},
    {&D::SpinEdit6, &F::MaxLabelledArea},
    {&D::SpinEdit2, &F::NCStart},
    {&D::SpinEdit3, &F::NCEnd},
    {&D::LatEdit1, &F::LatitudeH},
    {&D::LatEdit2, &F::LatitudeM},
    {&D::LatEdit3, &F::LatitudeS},
    {&D::LongEdit1, &F::LongitudeH},
    {&D::LongEdit2, &F::LongitudeM},
    {&D::LongEdit3, &F::LongitudeS},
    {&D::YearEdit, &F::TargetYear, O::TargetYear},
    {&D::MonthEdit, &F::TargetMonth},
    {&D::DayEdit, &F::TargetDay, O::TargetDay},
};
const TBinding<QCheckBox, bool> kCheckControls[] = {
    {&D::CheckBox6, &F::DistortAuto},
    {&D::CheckBox7, &F::ColorSearchPercent},
    {&D::CheckBox1, &F::ShowLabelledNumber},
    {&D::CheckBox3, &F::CalcTraceLengthRatio},
    {&D::CheckBox4, &F::LabelTraceVectorize},
    {&D::CheckBox5, &F::LabelingDuplicate},
    {&D::CheckBox2, &F::AzimuthMaskUse},
    {&D::CheckBox8, &F::SlopeCorrection},
};

}  // namespace

void TTamOptionDialog::Setup(const QString& ImageFile, int Left, int Top, int Right, int Bottom) {
    FPickAllowed = false;
    FImageFile = ImageFile;
    FTagArea = {Left, Top, Right, Bottom};
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
    for (const auto& [control, field, checked] : kTextControls) (this->*control)->setText(Fields.*field);
    for (const auto& [control, field, checked] : kNumberControls) Show(this->*control, Fields.*field);
    for (const auto& [control, field, checked] : kCheckControls) (this->*control)->setChecked(Fields.*field);
    ColorGroup1->SetItemIndex(Fields.BinarizeTarget);
    TargetGroup1->SetItemIndex(Fields.ThresholdMethod);
    JhokenGroup1->SetItemIndex(Fields.ThresholdCondition);
    ComboBox1->setCurrentIndex(Fields.LensType);
    ComboBox2->setCurrentIndex(Fields.NCType);
    FisheyeCorectGroupBox->SetItemIndex(Fields.ZenithThresholdType);
    DifModelGroup->SetItemIndex(Fields.DifModel);
    for (int ring = 0; ring < 5; ++ring) vring[ring]->setChecked(Fields.RingUse[static_cast<size_t>(ring)]);
    ShowTargetChoice();
    ShowVectorFolder();
}

TOptionFields TTamOptionDialog::ReadFields() const {
    // The threshold target, method and condition are the pending ones that
    // the handlers keep; a list showing no item keeps what it was given.
    TOptionFields f = FFields;
    for (const auto& [control, field, checked] : kTextControls) f.*field = (this->*control)->text();
    for (const auto& [control, field, checked] : kNumberControls) f.*field = (this->*control)->value();
    for (const auto& [control, field, checked] : kCheckControls) f.*field = (this->*control)->isChecked();
    const auto chosen = [](int Index, int& Field) {
        if (Index >= 0) Field = Index;
    };
    chosen(ComboBox1->currentIndex(), f.LensType);
    chosen(ComboBox2->currentIndex(), f.NCType);
    chosen(FisheyeCorectGroupBox->ItemIndex(), f.ZenithThresholdType);
    chosen(DifModelGroup->ItemIndex(), f.DifModel);
    for (int ring = 0; ring < 5; ++ring) f.RingUse[static_cast<size_t>(ring)] = vring[ring]->isChecked();
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
    for (const auto& [control, field, checked] : kTextControls)
        if (checked == Field) return this->*control;
    for (const auto& [control, field, checked] : kNumberControls)
        if (checked == Field) return this->*control;
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
    // A number field holding a decimal, which it cannot take.
    for (const auto& [control, field, checked] : kNumberControls)
        if (QSpinBox* edit = this->*control; !edit->hasAcceptableInput()) {
            FRefusal.Refuse(*edit);
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
        // OK has said "ERR22" in the status bar.
        FRefusal.ShowRefused(*control, FieldCaption(*control));
        return;
    }
    FRefusal.Accepted();
    accept();
}

void TTamOptionDialog::Button2Click() { reject(); }

void TTamOptionDialog::reject() {
    if (FGroupSelection) OptionsCancelled = true;
    QDialog::reject();
}

void TTamOptionDialog::Button5Click() {
    try {
        const QString file = SettingsPlace.PrepareFileToSave();
        WriteSettingsFile(file, ReadFields());
        EngineHost().SetStatusText(FullPath(file));
    } catch (const Exception& e) {
        EngineHost().ShowMessage(ExceptionText(e));
    }
}

void TTamOptionDialog::Button6Click() {
    try {
        const QString file = SettingsPlace.FileToLoad();
        TOptionFields fields = ReadFields();
        ReadSettingsFile(file, fields, FImageFile);
        ShowFields(fields);
        EngineHost().SetStatusText(FullPath(file));
    } catch (const Exception& e) {
        EngineHost().ShowMessage(ExceptionText(e));
    }
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
