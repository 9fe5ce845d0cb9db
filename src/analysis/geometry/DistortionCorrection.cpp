#include "analysis/geometry/DistortionCorrection.h"

#include <algorithm>
#include <cmath>

#include "analysis/core/AnalysisImage.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/core/Resampling.h"
#include "analysis/core/RowBlocks.h"
#include "platform/Bitmap.h"

namespace tam32 {

bool MakeDistortionCorrectedImage(const QString& FileName) {
    // Also refuses a parameter that is no number.
    if (!(std::fabs(DistortParameter) >= 0.1)) return true;
    if (LoadAnalysisImage(FileName)) return true;
    const int W = AnalysisImage->Width(), H = AnalysisImage->Height();
    const double Cx = (W - 1) / 2.0, Cy = (H - 1) / 2.0;
    const double M = std::min(Cx, Cy);
    const double D2 = Cx * Cx + Cy * Cy;
    const double Q = DistortParameter / 300.0;
    const double K = Q / D2;
    const double S = CLDFullImage ? 1.0 - Q : 1.0 - Q * M * M / D2;
    // A single pixel has no corner distance, and s <= 0 would divide by zero
    // or turn the picture inside out.
    if (!(D2 > 0.0) || !(S > 0.0)) {
        FreeAnalysisImage();
        return true;
    }
    ShowInstructionMessage(QStringLiteral("MSG9"));
    TResultPicture Out(W, H);
    {
        const TBilinearSampler Source(*AnalysisImage);
        ForEachResultRowBlock(H, [&](const TRowBlock& Block) {
            for (int Y = Block.First; Y <= Block.Last; ++Y) {
                const double Dy = Y - Cy;
                for (int X = 0; X < W; ++X) {
                    const double Dx = X - Cx;
                    const double F = (1.0 - (Dx * Dx + Dy * Dy) * K) / S;
                    int R, G, B;
                    Source.SampleBilinear(R, G, B, Dx * F + Cx, Dy * F + Cy);
                    Out.PutResultPixel(X, Y, R, G, B);
                }
            }
        });
    }
    AnalysisImage = Out.Take();
    ShowInstructionMessage(QStringLiteral("MSG10"));
    return false;
}

bool MakeCLDFile(const QString& SrcName, const QString& DstName) {
    const TAnalysisImageRelease Release;
    return MakeDistortionCorrectedImage(SrcName) || SaveCorrectedPicture(*AnalysisImage, DstName);
}

bool ViewCLDImage(const QString& FileName, TBitmap& Image) {
    const TAnalysisImageRelease Release;
    if (MakeDistortionCorrectedImage(FileName)) return true;
    Image.Assign(AnalysisImage.get());
    return false;
}

}  // namespace tam32
