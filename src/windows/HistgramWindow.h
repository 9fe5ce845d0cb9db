#pragma once
// The 256-bin histogram of one colour channel of an image area that the
// engine has just counted (RGBHistogram, and TargetRGBHistogram when the area
// was analysed), drawn with a table of its counts. Two uses: showing the
// histogram of an image window's box area, with Copy of the counts; and
// picking a fixed threshold on it, where the bins that the threshold would
// recognise are drawn black. It draws only from the engine's arrays, and
// nothing when they were counted from another file than its own.
#include <QDialog>
#include <QString>

#include "platform/Bitmap.h"

class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace tam32 {

class TImageView;
class TRadioGroup;

class THistgramWindow : public QDialog {
    Q_OBJECT
public:
    explicit THistgramWindow(QWidget* Parent = nullptr);

    // Display mode: the colour of the chosen target (blue for the others),
    // its table, Copy and Close. The caller sets the caption and Label1.
    void ShowHistogram(const QString& FileName, bool Analysed);
    // Pick mode for a threshold of Colour (0 red, 1 green, 2 blue) under
    // Condition (0 ">=", 1 "<=", 2 "="), starting from FixedThreshold; OK
    // makes the threshold field's value FixedThreshold.
    void SetupThresholdPick(const QString& FileName, int Colour, int Condition);

    void DrawHistogram(int Colour);
    void FillStatistics(int Colour);

    // Handlers of the controls.
    void RadioGroup1Click();
    void SpinEdit1Change();
    void Button1Click();
    void Button2Click();
    void Button3Click();

    // The histogram's picture, 256 × 180.
    TBitmap& Picture() { return FPicture; }

    bool Analysed = false;
    bool PickMode = false;
    int PickColour = 0;
    int PickCondition = 0;
    QString FileName;

    TImageView* Image1;
    QLabel* Label1;
    TRadioGroup* RadioGroup1;
    QTableWidget* StringGrid1;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QSpinBox* SpinEdit1;

private:
    void FormCreate();
    // The form's size from Image1 and the control at its right edge.
    void FitTo(const QWidget* RightMost);
    // Whether the engine's arrays were counted from this window's file.
    bool ArraysAreMine() const;

    TBitmap FPicture;
};

}  // namespace tam32
