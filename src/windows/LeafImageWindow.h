#pragma once
// The child window of the frame that shows one opened image: its 24-bit
// picture, the file it came from and the file the analyses read, its zoom,
// box area and fisheye circle.
#include <QPointer>
#include <QRect>
#include <QScrollArea>
#include <QString>
#include <QStringList>
#include <memory>

#include <array>
#include <utility>
#include <vector>

#include "platform/Bitmap.h"
#include "windows/ImageTools.h"

class QDir;

namespace tam32 {

class TImageView;
class TLookingTable;
class TAfinDlg;
class TSkippedBatchLines;
class TImageWindowFrame;

class TLeafImageWindow : public QScrollArea {
    Q_OBJECT
public:
    explicit TLeafImageWindow(TImageWindowFrame& Frame, QWidget* Parent = nullptr);
    ~TLeafImageWindow() override;

    // Takes over Picture (24 bits) as the window shows it, read from Name;
    // Temporary: Name is the program's own file, deleted when the window closes.
    void OpenPicture(const QString& Name, bool Temporary, std::unique_ptr<TBitmap> Picture);

    // Shows the picture at Num/Den of its size and makes the whole picture
    // the box area.
    void SetViewScale(int Num, int Den);
    // One zoom step: ..., 1/3, 1/2, 1/1, 2/1, 3/1, ...
    void EnhanceView();
    void ReduceView();

    // Asks three brightness factors and applies them to the picture; Cancel
    // leaves it as it is.
    void ChangeLightLevel();

    // Reads the picture again from FFileName, dropping what analyses and
    // tools drew; asks whether to keep a set circle. A file that cannot be
    // read raises and leaves the window as it was.
    void ViewOriginalImage();

    // Activation: the frame's active window, its size text and menu state.
    void SearchSettings();

    // Clears the active tool, erasing its passing marks, and sets the
    // frame's tool items to no tool.
    void ResetTools();

    // Tool selectors: each clears the active tool and chooses its own.
    void SetTagArea();
    void StartDistanceMeasurement();
    void StartSetNorthDirection();
    void StartAngleMeasurement();
    void StartCalcScaleByLine();
    void StartMouseDetectCircleArea();
    void StartZenithAngleMeasurement();
    void StartPolylineMeasurement();
    void StartMoveCircleArea();
    void StartCircleAreaBy3Points();
    // The colour tools: a line's colour profile, the colour search from a
    // picked pixel, and the image resolution from a box around an object of
    // known area.
    void StartLineProfile();
    void StartSearchColors();
    void StartCalcScaleByArea();

    // Analyses of the window's work file over its box area, reported to the
    // results window; each checks what it needs and says what is missing.
    void DoLAIEstimate();
    void DoLAIEstimateAll(const QStringList& Files);
    // The images and the target and thresholds for each as a batch settings
    // file lists them, one row each.
    void DoLAIEstimateUseSettingFile(const QString& FileName);
    void DoPAREstimate();
    void DoPARThisDay();
    void DoPARMonth();
    void DoPARMonthMean();
    void DoPARMonthYear();
    void DoPARMonthYearMean();
    // Ask the hours, or the dates, of the period first.
    void DoPARSetTimes();
    void DoPARPeriod();
    void DrawDaySunTrack();
    void DrawMonthSunTrack();
    void DrawYearSunTrack();
    void DrawSunTrack();
    // The image corrections: the tilt tool (a line along one vertical
    // object), the panorama for basal-area counts, the distortion-corrected
    // picture in place of the picture, and the north-up and slope-corrected
    // photograph written to OutFile (true when written; only while
    // SlopeCorrection is on).
    void StartCorrectDistortion();
    void DoBAMeasurement();
    void ViewDistortionCorrectedImage();
    bool ViewCorrectedHemiImage(const QString& OutFile);
    // The objects of the box area listed by size and numbered on the picture,
    // and the lengths of the skeleton lines of its thin structures.
    void DoLabellAnalysis();
    void DoTopoAnalysis();
    // The colour histogram of the box area in the histogram window, and the
    // colour statistics of target and background.
    void ViewHistgram();
    void DoSepColorAnalysis();
    // The options dialog for the work file and the box area; its modal result.
    int ShowProcOptions();
    // The colour classification: the sample tool, which fills the window's
    // sample table, and the box area painted in the classifier's groups.
    void StartGetPoints();
    void ViewClassifiedImage();
    // The window's sample table; nullptr until the sample tool is chosen and
    // once the table is closed.
    TLookingTable* LookingTable() const;
    // The control points: the tool that picks them into the window's
    // control-point dialog (shown, made on first use), and the picture of
    // the opened file corrected by the dialog's fit and written to OutFile
    // (true when written; false, without a message, while the dialog is
    // absent or has no fit and output size).
    void StartGetGCP();
    bool DoAfineTrans(const QString& OutFile);
    // Whether the control-point dialog holds a fit (none before Fit and
    // after the table is cleared).
    bool HasGcpFit() const;
    // The window's control-point dialog, shown or hidden; nullptr until the
    // tool is first chosen.
    TAfinDlg* AfinDlg() const;

    // The mouse on Image1, at (X, Y) in its own (screen) pixels. Button down
    // and move are clamped to the picture; button up is not, so a drag that
    // ends beyond the edge ends there.
    void Image1MouseDown(Qt::MouseButton Button, int X, int Y);
    void Image1MouseMove(int X, int Y);
    void Image1MouseUp(int X, int Y);

    // The fisheye circle: drawn inverted (a second call erases it), copied
    // to and from the shared circle settings, set from the lens type or by
    // detection, or by a typed diameter.
    void DrawCircleArea();
    // Draws the circle, its zenith rings every 10 degrees and the azimuth
    // spokes labelled from north into the picture for good.
    void DrawCircleAreaScale();
    void StoreCircleArea();
    void LoadCircleArea();
    void AutoDetectCircleArea();
    void SetCircleAreaDiameter();
    // Sets the circle to diameter D (> 0) about the current centre, or the
    // picture's centre when no circle was set.
    void SetCircleDiameter(int D);
    // Sets the circle (a diameter of 2 R + Odd about X, Y) as the circle tools
    // do: drawn on the picture and published, no tool chosen.
    void SetCircleArea(int X, int Y, int R, int Odd);

    // A position on Image1 in image pixels.
    int ImageX(int ScreenX) const;
    int ImageY(int ScreenY) const;

    // "%d×%d pixels" of the picture's own size, whatever the zoom.
    QString SizeText() const;
    TBitmap& Picture() { return *FPicture; }
    const TBitmap& Picture() const { return *FPicture; }

    TImageView* Image1;

    bool FTagAreaMode = true;
    bool FMeasureMode = false;
    bool FPickMode = false;
    bool FTagDragging = false;
    // The tag rectangle and the rubber line are in the picture.
    bool FTagShown = false;
    bool FMeasureDragging = false;
    bool FLineShown = false;
    bool FCircleDragging = false;
    bool FAnalysed = false;
    bool FCircleSet = false;
    bool FScaleByArea = false;
    bool FAngleFirstLeg = false;
    int FMeasureTool = mtLineProfile;
    int FPickTool = ptNone;
    int FPointNo = 0;
    int FScaleNum = 1;
    int FScaleDen = 1;
    int FOrgWidth = -1;
    int FOrgHeight = -1;
    int FCircleX = 0;
    int FCircleY = 0;
    int FCircleR = 0;
    int FCircleOdd = 0;
    bool FIsTempImage = false;
    // The colour search's reference colour, once picked.
    bool FColorSampled = false;
    int FSampleColor1 = 0;
    int FSampleColor2 = 0;
    int FSampleColor3 = 0;
    bool FNorthSet = false;
    double FNorthAngle = 0.0;
    double FFirstAngle = 0.0;
    double FPolyLength = 0.0;
    int FCirclePointCount = 0;
    // The three clicked points and, last, the centre through them.
    std::array<TPoint, 4> FCirclePoints{};
    // The pixels under the crosses of the points not yet made a circle.
    std::vector<std::pair<QRect, QImage>> FCrossUnder;
    // The measured line, in image pixels.
    TPoint FLineStart;
    TPoint FLineEnd;
    // (-1, -1): no vertex yet.
    TPoint FPolyPrev{-1, -1};
    TPoint FPolyCur{-1, -1};
    TPoint FAngleEnd;
    QString FFileName;
    QString FWorkFileName;
    int FPictureWidth = 0;
    int FPictureHeight = 0;
    // Inclusive, in image pixels.
    QRect FTagArea;

protected:
    void closeEvent(QCloseEvent* Event) override;
    // Escape gives up the three-point circle begun.
    void keyPressEvent(QKeyEvent* Event) override;

private:
    // The passing marks, drawn with the inverting pen: each call draws or
    // erases the figure and keeps FTagShown or FLineShown saying whether the
    // picture holds it, so that a zoom step or a new tool never leaves one
    // burned in.
    void ToggleTagRectangle();
    void ToggleRubberLine();
    void EraseRubberLine();
    void EraseTagRectangle();
    // Red marks: a small filled ellipse about P.
    void DrawMarker(TPoint P, TPenMode Mode);
    // A point of the three-point circle: a small red cross that stays with
    // the circle made from it, and goes, its pixels put back, when the
    // circle is given up (Escape or another tool).
    void MarkCirclePoint(TPoint P);
    void EraseCirclePoints();
    // With the pen's width.
    void DrawLine(TPoint From, TPoint To, TColor Colour, TPenMode Mode);
    void EraseCircleArea();
    TPoint ClampedImagePoint(int X, int Y) const;
    // The tag rectangle's corner or the measure tool's line end follows the
    // mouse to P.
    void DragTo(TPoint P);
    // The selectors' common start: no tool, then the measure or pick tool.
    void ChooseMeasureTool(int Tool, const char* MenuItemName);
    void ChoosePickTool(int Tool, const char* MenuItemName);
    // Button down and up of the measure and pick tools.
    void MeasureToolDown(Qt::MouseButton Button, TPoint P);
    void PickToolDown(TPoint P);
    void MeasureToolUp();
    void FinishTagArea();
    void FinishDistance();
    void FinishNorthDirection();
    void FinishAngle();
    void FinishScaleByLine();
    void FinishZenithAngle();
    void FinishTiltLine();
    void FinishLineProfile();
    void FinishScaleByArea();
    void PickSearchColor(TPoint P);
    void TakeSamplePoint(TPoint P);
    void TakeGCP(TPoint P);
    void TakeThirdCirclePoint();
    // What every analysis command does first: a chosen classifier or colour
    // in place for those targets, permanent drawing, the circle and (with
    // North) the north direction published. False when one is missing.
    bool AnalysisPrologue(bool North);
    TRect TagRect() const;
    // A new picture (reloaded, or an analysis's result) holds none of the
    // window's marks.
    void ForgetMarks();
    // After an analysis painted its result: the circle is drawn again when one is set.
    void AfterAnalysisPainted();
    // Before an analysis paints over the box area: the passing marks are
    // erased, so none is left half painted over. Whether the circle was shown.
    bool ErasePassingMarks();
    // The box area of the whole picture.
    QRect WholePicture() const;
    // One gap fraction analysis of File with its batch row; false (and
    // "ERR7") when it failed.
    bool BatchGapFraction(const QString& File);
    // Compare's runs at every fixed threshold 0..255 with their rows; a
    // failure ends them.
    void CompareFixedThresholds();
    // The rows of the settings file's Lines (images in Folder), each line's
    // settings restored after its row; the lines passed over go to Skipped.
    void RunSettingsFileLines(const QStringList& Lines, const QDir& Folder, TSkippedBatchLines& Skipped);
    void RunPAREstimate(int Period);
    void RunSunTrack(int Period);

    // The circle's surroundings, copied into the frame's edge view.
    void RefreshEdgeViews();

    // The circle is set: the whole picture is the box area and the
    // move-circle tool is chosen.
    void CircleChosen();
    // With the canvas's current pen: the outline about the circle's centre
    // at radius R, and the centre cross (full width and height, or small).
    void DrawCircleOutline(int R);
    void DrawCentreMark(bool FullCross);

    TImageWindowFrame& FFrame;
    std::unique_ptr<TBitmap> FPicture;
    // The circle is drawn inverted on the picture, with the full-size cross
    // of the normal lens or the small one.
    bool FCircleShown = false;
    bool FShownFullCross = false;
    QPointer<TLookingTable> FLookingTable;
    QPointer<TAfinDlg> FAfinDlg;
};

}  // namespace tam32
