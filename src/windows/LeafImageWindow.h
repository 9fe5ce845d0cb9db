#pragma once
// The child window of the frame that shows one opened image: its 24-bit
// picture, the file it came from and the file the analyses read, its zoom,
// box area and fisheye circle.
#include <QRect>
#include <QScrollArea>
#include <QString>
#include <memory>

#include "platform/Bitmap.h"
#include "windows/ImageTools.h"

namespace tam32 {

class TImageView;
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

    // Clears the active tool and sets the frame's tool items to no tool.
    void ResetTools();

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

    // The mouse moved to (X, Y) on Image1: the active window shows the image
    // pixel under it, within the picture, in the frame's panel 1.
    void Image1MouseMove(int X, int Y);

    // A position on Image1 in image pixels.
    int ImageX(int ScreenX) const;
    int ImageY(int ScreenY) const;

    // "%d×%d pixels" of Image1's size.
    QString SizeText() const;
    TBitmap& Picture() { return *FPicture; }
    const TBitmap& Picture() const { return *FPicture; }

    TImageView* Image1;

    bool FTagAreaMode = true;
    bool FMeasureMode = false;
    bool FPickMode = false;
    bool FTagDragging = false;
    bool FTagShown = false;
    bool FMeasureDragging = false;
    bool FLineShown = false;
    bool FCircleDragging = false;
    bool FAnalysed = false;
    bool FCircleSet = false;
    bool FScaleByArea = false;
    int FMeasureTool = mtLineProfile;
    int FPickTool = ptNone;
    int FScaleNum = 1;
    int FScaleDen = 1;
    int FOrgWidth = -1;
    int FOrgHeight = -1;
    int FCircleX = 0;
    int FCircleY = 0;
    int FCircleR = 0;
    int FCircleOdd = 0;
    bool FIsTempImage = false;
    bool FNorthSet = false;
    double FNorthAngle = 0.0;
    QString FFileName;
    QString FWorkFileName;
    int FPictureWidth = 0;
    int FPictureHeight = 0;
    // Inclusive, in image pixels.
    QRect FTagArea;

protected:
    void closeEvent(QCloseEvent* Event) override;

private:
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
};

}  // namespace tam32
