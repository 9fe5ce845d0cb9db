#pragma once
// The analysis image and the frame around every analysis. Each analysis
// loads the work file afresh into AnalysisImage (24 bits, blue-green-red
// bytes per pixel, rows from the top), works over its area, paints into the
// window picture and ends by putting back the classification settings and
// freeing the image. Areas are rectangles of inclusive pixel coordinates
// (Right and Bottom are the last column and row).
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include "import/SPIPxDIB.h"
#include "platform/WinTypes.h"

namespace tam32 {

class TBitmap;

// The work file name under which the image comes from the clipboard's DIB.
inline const QString ClipboardFileName = QStringLiteral("Import From Clipboard");

// The image under analysis; null between analyses.
extern std::unique_ptr<TSPIPxDIB> AnalysisImage;

// Fills a new AnalysisImage from the file or the clipboard, 24-bit. A file
// that cannot be decoded is reported through the engine host and gives True.
bool LoadAnalysisImage(const QString& FileName);
// Decodes the file FileName as LoadAnalysisImage does, showing nothing, and
// frees the image again: why it does not load, or nullopt. Within a run
// series the decoding is kept for the analysis that follows.
std::optional<QString> AnalysisImageLoadFailure(const QString& FileName);
// Deletes the image; harmless when none is loaded.
void FreeAnalysisImage();
// LastThreshold := FixedThreshold, then puts back the saved settings once.
void RestoreThresholdSettings();
void ResetAnalysisModeFlags();
void SetRGBThresholds(int R, int G, int B);
void GetRGBThresholds(int& R, int& G, int& B);

// Pixel accessors of the analysis image; ERangeError outside it.
// Channel 0 is red, 1 green, 2 blue.
int GetPixelChannel(int Channel, int X, int Y);
void GetPixelRGB(int X, int Y, int& R, int& G, int& B);
// One pixel of the window picture.
void PlotPixel(TBitmap& Image, TColor Color, int X, int Y);
void PutWindowPixelRGB(TBitmap& Image, uint8_t R, uint8_t G, uint8_t B, int X, int Y);

// Area within the analysis image; empty (Left > Right or Top > Bottom) when
// they do not meet, as when a window's area is used on a smaller file.
TRect ClipToAnalysisImage(const TRect& Area);
// The same for a picture of Width by Height pixels.
TRect ClipToPicture(const TRect& Area, int Width, int Height);

// Ends the analysis that opened the image, also on an early return or an
// exception: the settings are put back and the image freed unless Keep was called.
class TAnalysisRun {
public:
    // Starts from clean vector state, so the run's maths runs at full speed
    // whatever library code ran before (see ClearUpperVectorState).
    TAnalysisRun();
    ~TAnalysisRun();
    TAnalysisRun(const TAnalysisRun&) = delete;
    TAnalysisRun& operator=(const TAnalysisRun&) = delete;
    // The caller takes over the image and the settings in force (KeepAnalysisImage).
    void Keep() { FArmed = false; }

private:
    bool FArmed = true;
};

// Frees the analysis image when the scope ends, for the routines that load
// it with LoadAnalysisImage alone and so leave the classification settings be.
class TAnalysisImageRelease {
public:
    TAnalysisImageRelease() = default;
    ~TAnalysisImageRelease() { FreeAnalysisImage(); }
    TAnalysisImageRelease(const TAnalysisImageRelease&) = delete;
    TAnalysisImageRelease& operator=(const TAnalysisImageRelease&) = delete;
};

}  // namespace tam32
