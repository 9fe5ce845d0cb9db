#pragma once
// The options dialog: the one place where the user edits the program-wide
// analysis settings, saves what the controls hold to the settings file and
// loads it back (Save and Load touch only the controls; OK applies them,
// all or none), and, in its second mode, chooses which classification
// groups count as target. The caller creates it, prepares it with Setup or
// SetupGroupSelection and shows it modally; its results are the settings.
#include <QDialog>
#include <QString>

#include "analysis/core/OptionFields.h"
#include "analysis/core/SettingsFilePlace.h"
#include "platform/WinTypes.h"
#include "windows/FieldRefusal.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace tam32 {

class TRadioGroup;
class TSelectFolderDialog;

class TTamOptionDialog : public QDialog {
    Q_OBJECT
public:
    explicit TTamOptionDialog(QWidget* Parent = nullptr);

    // Settings mode for ImageFile, whose box area (image pixels) the
    // threshold pick counts.
    void Setup(const QString& ImageFile, int Left, int Top, int Right, int Bottom);
    // Group-selection mode over the classifier's groups.
    void SetupGroupSelection();
    // Relabels the controls from the message files (at creation, for both modes).
    void LocalizeCaptions();

    // Handlers of the controls.
    void Button1Click();
    void Button2Click();
    void Button5Click();
    void Button6Click();
    void BitBtn1Click();
    void ColorGroup1Change();
    void TargetGroup1Change();
    void JhokenGroup1Change();
    void SpinEdit7Click();
    void SpinEdit2Change();
    void ComboBox1Change();
    void ComboBox2Change();
    void CheckBox4Click();
    void GotoSelectFolderClick();
    void Button3Click();
    void Button4Click();

    // Where Save writes and Load reads the settings file; each shows the
    // file's full path in the status bar, and a failure in a message box.
    TSettingsFilePlace SettingsPlace = ProgramSettingsPlace();

    QTabWidget* PageControl1;
    QWidget *TabSheet5, *TabSheet2, *TabSheet1, *TabSheet4, *TabSheet3;
    QPushButton *Button1, *Button2, *Button5, *Button6;
    TSelectFolderDialog* SelectFolderDialog;
    // Image.
    QGroupBox *GroupBox2, *GroupBox16, *GroupBox17, *GroupBox1, *GroupBox21, *GroupBox20, *GroupBox19;
    QLineEdit* Edit1;
    QLabel* DpiUnit;
    TRadioGroup *ColorGroup1, *TargetGroup1, *JhokenGroup1;
    QSpinBox* SpinEdit7;
    QToolButton* BitBtn1;
    QSpinBox* SpinEdit4;
    QCheckBox* CheckBox6;
    QSpinBox *SpinEdit8, *SpinEdit9, *SpinEdit10;
    QLabel *Label22, *Label23, *Label24;
    QCheckBox* CheckBox7;
    // Leaf area.
    QGroupBox *GroupBox10, *GroupBox3;
    QSpinBox *SpinEdit1, *SpinEdit5, *SpinEdit6;
    QLabel *Label21, *Label8;
    QCheckBox *CheckBox1, *CheckBox3, *CheckBox4, *CheckBox5;
    QLineEdit* VecFileName;
    QToolButton* GotoSelectFolder;
    // Fisheye lens.
    QGroupBox *GroupBox6, *GroupBox13, *GroupBox4, *GroupBox14, *GroupBox22;
    QComboBox *ComboBox1, *ComboBox2;
    QLineEdit *Edit20, *Edit3, *Edit21, *Edit22, *Edit5, *Edit6;
    QLabel *ViewAngleUnit, *RadiusUnit, *Label20;
    QCheckBox *CheckBox2, *CheckBox8;
    TRadioGroup* FisheyeCorectGroupBox;
    QSpinBox *SpinEdit2, *SpinEdit3;
    QCheckBox* vring[5];
    // PAR.
    QGroupBox *GroupBox8, *GroupBox9;
    QSpinBox *LatEdit1, *LatEdit2, *LatEdit3, *LongEdit1, *LongEdit2, *LongEdit3;
    QLabel *LatUnits[3], *LongUnits[3];
    QLineEdit *Edit14, *Edit15, *Edit16, *Edit2, *Edit17;
    TRadioGroup* DifModelGroup;
    QSpinBox *YearEdit, *MonthEdit, *DayEdit;
    // Classification.
    QLabel *Label6, *Label7;
    QListWidget *ListBox1, *ListBox2;
    QPushButton *Button3, *Button4;

    // Escape and the close box cancel as the Cancel button does.
    void reject() override;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void CreateImagePage();
    void CreateAreaPage();
    void CreateLensPage();
    void CreatePARPage();
    void CreateClassificationPage();
    // The controls from Fields (no handler runs), and back.
    void ShowFields(const TOptionFields& Fields);
    TOptionFields ReadFields() const;
    // What the chosen target allows, and the outline folder's controls.
    void ShowTargetChoice();
    void ShowVectorFolder();
    QWidget* FieldControl(TOptionField Field) const;

    QString FImageFile;
    bool FGroupSelection = false;
    bool FPickAllowed = false;
    // What the controls were last given. Its threshold target, method and
    // condition are the pending ones that OK applies; a list showing no
    // item keeps the value it was given.
    TOptionFields FFields;
    TRect FTagArea;
    TFieldRefusal FRefusal;
};

}  // namespace tam32
