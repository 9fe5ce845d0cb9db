#include "analysis/corrections/GcpCorrection.h"

#include <cmath>

#include "analysis/core/AnalysisImage.h"
#include "analysis/core/Resampling.h"
#include "analysis/core/RowBlocks.h"
#include "platform/VectorState.h"

namespace tam32 {
namespace {

// The sum of Coefficients[First + 2 (i - 1)] V^i for i = 1..k: the terms of
// the centred X (First 1) or of the centred Y (First 2).
double PowerSum(const std::vector<double>& Coefficients, std::size_t First, double V) {
    double Sum = 0.0, Power = 1.0;
    for (std::size_t N = First; N < Coefficients.size(); N += 2) {
        Power *= V;
        Sum += Coefficients[N] * Power;
    }
    return Sum;
}

bool IsReady(const TGcpModel& Model) {
    const TGcpFit& Fit = Model.Fit;
    const std::size_t Terms = Fit.Centred.Col.size();
    const bool Fitted = Terms == Fit.Centred.Row.size() && Terms % 2 == 1 && Terms >= std::size_t(GcpTermCount(1)) &&
                        Terms <= std::size_t(kMaxGcpTerms) && Fit.ScaleX > 0.0 && Fit.ScaleY > 0.0;
    const bool Sized = Model.OutWidth >= 1 && Model.OutWidth <= kMaxGcpSide && Model.OutHeight >= 1 &&
                       Model.OutHeight <= kMaxGcpSide && int64_t(Model.OutWidth) * Model.OutHeight <= kMaxGcpPixels;
    return Model.SizeComputed && Fitted && Sized;
}

}  // namespace

TGcpSize GcpOutputSize(double X0, double X1, double Y0, double Y1, double PixelSize) {
    if (!(PixelSize > 0.0)) return {.Fault = TGcpSizeFault::PixelSize};
    const double Width = std::nearbyint((X1 - X0) / PixelSize), Height = std::nearbyint((Y1 - Y0) / PixelSize);
    // The comparisons are also false for a value that is no number.
    if (!(Width >= 1.0)) return {.Fault = TGcpSizeFault::XExtent};
    if (!(Height >= 1.0)) return {.Fault = TGcpSizeFault::YExtent};
    if (Width > kMaxGcpSide || Height > kMaxGcpSide || Width * Height > double(kMaxGcpPixels))
        return {.Fault = TGcpSizeFault::PixelSize};
    return {int(Width), int(Height)};
}

bool GcpCorrectImageFile(const QString& SrcName, const QString& DstName, const TGcpModel& Model) {
    if (!IsReady(Model)) return false;
    const TAnalysisImageRelease Release;
    if (LoadAnalysisImage(SrcName)) return false;
    TResultPicture Out(Model.OutWidth, Model.OutHeight, TResultPicture::TRows::BottomUp);
    {
        // Without cross terms each source position is a part of world X
        // plus a part of world Y, so each part is computed once per output
        // column or row.
        std::vector<double> ColOfX(std::size_t(Model.OutWidth)), RowOfX(std::size_t(Model.OutWidth));
        const TGcpFit& Fit = Model.Fit;
        for (int C = 0; C < Model.OutWidth; ++C) {
            const double U = Fit.U(C * Model.PixelSize + Model.X0);
            ColOfX[std::size_t(C)] = PowerSum(Fit.Centred.Col, 1, U);
            RowOfX[std::size_t(C)] = PowerSum(Fit.Centred.Row, 1, U);
        }
        const TBilinearSampler Source(*AnalysisImage);
        ClearUpperVectorState();  // the loading may have left it dirty
        ForEachRowBlock(0, Model.OutHeight - 1, [&](const TRowBlock& Block) {
            for (int R = Block.First; R <= Block.Last; ++R) {
                const double V = Fit.V(R * Model.PixelSize + Model.Y0);
                const double ColOfY = Fit.Centred.Col[0] + PowerSum(Fit.Centred.Col, 2, V);
                const double RowOfY = Fit.Centred.Row[0] + PowerSum(Fit.Centred.Row, 2, V);
                for (int C = 0; C < Model.OutWidth; ++C) {
                    int Red, Green, Blue;
                    Source.SampleBilinear(Red, Green, Blue, ColOfY + ColOfX[std::size_t(C)],
                                          RowOfY + RowOfX[std::size_t(C)]);
                    Out.PutResultPixel(C, R, Red, Green, Blue);
                }
            }
        });
    }
    return !SaveCorrectedPicture(Out.Picture(), DstName);
}

}  // namespace tam32
