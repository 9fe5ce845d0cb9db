#pragma once
// The small modal dialog of three layouts: the start and end of a PAR
// period (times or dates), the inputs of the two-photograph gap estimate,
// and three brightness factors. The first two write their settings on OK;
// the caller of the third reads the spin edits.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace tam32 {

class TRadioGroup;

class TOKBottomDlg : public QDialog {
    Q_OBJECT
public:
    enum : int { mdPARPeriod = 0, mdGapEstimate = 1, mdLightLevel = 3 };

    explicit TOKBottomDlg(QWidget* Parent = nullptr);

    // Set before showing.
    bool DateRange = false;
    int Mode = mdPARPeriod;

    void OKBtnClick();
    void CancelBtnClick();
    void SpinEdit1Change();

    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QWidget* Panel1;
    QSpinBox *SpinEdit1, *SpinEdit2, *SpinEdit3, *SpinEdit4;
    QLabel *Label3, *Label4, *Label5, *Label6, *Label7, *Label8;
    QWidget* Panel2;
    QLineEdit *Edit1, *Edit2;
    QToolButton *SpeedButton1, *SpeedButton2;
    QSpinBox *SpinEdit5, *SpinEdit6, *SpinEdit7, *SpinEdit8, *SpinEdit9, *SpinEdit10;
    QLabel *Label9, *Label10, *Label12, *Label13;
    TRadioGroup *RadioGroup1, *RadioGroup2;
    QWidget* Panel3;
    QSpinBox *SpinEdit11, *SpinEdit12, *SpinEdit13;
    QLabel *Label1, *Label2, *Label11;

    // Escape and the close box cancel as the Cancel button does.
    void reject() override;

protected:
    // Prepares the layout that Mode names.
    void showEvent(QShowEvent* Event) override;

private:
    void FormCreate();
    void ChooseFile(QLineEdit* Edit);
};

}  // namespace tam32
