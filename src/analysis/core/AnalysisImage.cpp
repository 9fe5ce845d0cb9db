#include "analysis/core/AnalysisImage.h"

#include "analysis/core/AnalysisState.h"
#include "analysis/core/DecodedImageCache.h"
#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/core/RunSeries.h"
#include "analysis/core/UnreadablePictureMessage.h"
#include "import/UnreadablePicture.h"
#include "platform/Bitmap.h"
#include "platform/Clipboard.h"
#include "platform/VectorState.h"

namespace tam32 {

std::unique_ptr<TSPIPxDIB> AnalysisImage;

namespace {

bool LoadIntoNewImage(const QString& FileName) {
    AnalysisImage = std::make_unique<TSPIPxDIB>();
    if (FileName == ClipboardFileName) {
        TClipboard& Board = Clipboard();
        HGLOBAL Handle = Board.HasFormat(CF_DIB) ? Board.GetAsHandle(CF_DIB) : nullptr;
        if (Handle == nullptr) {
            ShowErrorMessage(QStringLiteral("ERR2"));
            FreeAnalysisImage();
            return true;
        }
        AnalysisImage->LoadFromClipboardFormat(CF_DIB, Handle, nullptr);
        AnalysisImage->SetPixelFormat(pxPf24Bit);
    } else if (!TakeCachedDecoding(FileName, *AnalysisImage)) {
        AnalysisImage->LoadFromFile(FileName);
        AnalysisImage->SetPixelFormat(pxPf24Bit);
        if (RunSeriesOpen()) KeepDecoding(FileName, *AnalysisImage);
    }
    AnalysisFileName = FileName;
    return false;
}

const uint8_t* PixelBytes(int X, int Y) {
    if (!AnalysisImage || X < 0 || Y < 0 || X >= AnalysisImage->Width() || Y >= AnalysisImage->Height())
        throw ERangeError(kRangeCheckError);
    return AnalysisImage->ReadScanLine(Y) + std::size_t(X) * 3;
}

uint8_t* WindowPixelBytes(TBitmap& Image, int X, int Y) {
    if (X < 0 || X >= Image.Width() || Image.PixelFormat() != TPixelFormat::pf24bit)
        throw ERangeError(kRangeCheckError);
    return Image.ScanLine(Y) + std::size_t(X) * 3;
}

// LoadIntoNewImage, its failure to decode given as the reason instead of
// raised; Failed tells a failure that it has reported itself.
std::optional<QString> DecodingFailure(const QString& FileName, bool& Failed) {
    try {
        Failed = LoadIntoNewImage(FileName);
        return std::nullopt;
    } catch (const EPictureUnreadable& E) {
        Failed = true;
        FreeAnalysisImage();
        return UnreadablePictureMessage(E);
    } catch (const Exception& E) {
        Failed = true;
        FreeAnalysisImage();
        return E.Message();
    } catch (const std::exception& E) {
        Failed = true;
        FreeAnalysisImage();
        return QString::fromLocal8Bit(E.what());
    }
}

}  // namespace

bool LoadAnalysisImage(const QString& FileName) {
    bool Failed = false;
    if (const std::optional<QString> Reason = DecodingFailure(FileName, Failed)) EngineHost().ShowMessage(*Reason);
    return Failed;
}

std::optional<QString> AnalysisImageLoadFailure(const QString& FileName) {
    bool Failed = false;
    const std::optional<QString> Reason = DecodingFailure(FileName, Failed);
    FreeAnalysisImage();
    return Reason;
}

void FreeAnalysisImage() { AnalysisImage.reset(); }

void RestoreThresholdSettings() {
    LastThreshold = FixedThreshold;
    if (!SettingsOverridden) return;
    BinarizeTarget = SavedBinarizeTarget;
    ThresholdCondition = SavedThresholdCondition;
    ThresholdMethod = SavedThresholdMethod;
    FixedThreshold = SavedFixedThreshold;
    SettingsOverridden = false;
}

void ResetAnalysisModeFlags() {
    DrawResults = true;
    ForceWholeImage = false;
}

void SetRGBThresholds(int R, int G, int B) {
    RGBThresholdR = R;
    RGBThresholdG = G;
    RGBThresholdB = B;
}

void GetRGBThresholds(int& R, int& G, int& B) {
    R = RGBThresholdR;
    G = RGBThresholdG;
    B = RGBThresholdB;
}

int GetPixelChannel(int Channel, int X, int Y) {
    if (Channel < 0 || Channel > 2) throw ERangeError(kRangeCheckError);
    return PixelBytes(X, Y)[2 - Channel];
}

void GetPixelRGB(int X, int Y, int& R, int& G, int& B) {
    const uint8_t* P = PixelBytes(X, Y);
    R = P[2];
    G = P[1];
    B = P[0];
}

void PlotPixel(TBitmap& Image, TColor Color, int X, int Y) {
    if (Color < 0) throw ERangeError(kRangeCheckError);
    Image.Canvas().SetPixels(X, Y, Color);
}

void PutWindowPixelRGB(TBitmap& Image, uint8_t R, uint8_t G, uint8_t B, int X, int Y) {
    uint8_t* P = WindowPixelBytes(Image, X, Y);
    P[0] = B;
    P[1] = G;
    P[2] = R;
}

TRect ClipToAnalysisImage(const TRect& Area) {
    if (!AnalysisImage) return {0, 0, -1, -1};
    return ClipToPicture(Area, AnalysisImage->Width(), AnalysisImage->Height());
}

TRect ClipToPicture(const TRect& Area, int Width, int Height) {
    return {std::max(Area.Left, 0), std::max(Area.Top, 0), std::min(Area.Right, Width - 1),
            std::min(Area.Bottom, Height - 1)};
}

TAnalysisRun::TAnalysisRun() { ClearUpperVectorState(); }

TAnalysisRun::~TAnalysisRun() {
    if (!FArmed) return;
    RestoreThresholdSettings();
    FreeAnalysisImage();
}

}  // namespace tam32
