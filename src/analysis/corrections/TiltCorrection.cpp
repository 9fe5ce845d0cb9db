#include "analysis/corrections/TiltCorrection.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "analysis/core/AnalysisImage.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/core/Resampling.h"
#include "analysis/corrections/CircleResampling.h"
#include "analysis/corrections/CorrectionSettingsCheck.h"
#include "analysis/geometry/LensProjection.h"
#include "platform/Bitmap.h"
#include "platform/DelphiFormat.h"
#include "platform/Rounding.h"

namespace tam32 {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180.0;
// The grids in radians: +-15 degrees by 0.1, then +-1 degree by 0.01.
constexpr double kCoarseHalf = 0.26179938779914946, kCoarseStep = 0.0017453292519943296;
constexpr double kFineHalf = 0.017453292519943295, kFineStep = 0.00017453292519943296;

struct TVector {
    double X, Y, Z;
};

TVector SkyDirection(double AzimuthRadians, double ZenithRadians) {
    const double SinZenith = std::sin(ZenithRadians);
    return {SinZenith * std::cos(AzimuthRadians), SinZenith * std::sin(AzimuthRadians), std::cos(ZenithRadians)};
}

// T(A, B)·V: by A about the y axis, then by B about the x axis.
TVector Tilted(const TVector& V, double B, double A) {
    const double X1 = V.X * std::cos(A) + V.Z * std::sin(A), Z1 = -V.X * std::sin(A) + V.Z * std::cos(A);
    return {X1, V.Y * std::cos(B) - Z1 * std::sin(B), V.Y * std::sin(B) + Z1 * std::cos(B)};
}

// Zenith in degrees of a unit vector, safe against a last-bit excess.
double ZenithDegrees(const TVector& V) { return std::acos(std::clamp(V.Z, -1.0, 1.0)) * 180.0 / kPi; }

// The correction C(A1, A2, A3) = Rz(A3)·Rx(A1)·Ry(A2), row by row.
class TCorrection {
public:
    TCorrection(double A1, double A2, double A3) {
        const double S1 = std::sin(A1), C1 = std::cos(A1), S2 = std::sin(A2), C2 = std::cos(A2);
        const double S3 = std::sin(A3), C3 = std::cos(A3);
        FRows[0] = {C2 * C3 - S1 * S2 * S3, -C1 * S3, S2 * C3 + S1 * C2 * S3};
        FRows[1] = {C2 * S3 + S1 * S2 * C3, C1 * C3, S2 * S3 - S1 * C2 * C3};
        FRows[2] = {-C1 * S2, S1, C1 * C2};
    }
    TVector operator()(const TVector& V) const {
        const auto Row = [&V](const TVector& M) { return M.X * V.X + M.Y * V.Y + M.Z * V.Z; };
        return {Row(FRows[0]), Row(FRows[1]), Row(FRows[2])};
    }

private:
    std::array<TVector, 3> FRows;
};

// Inside the circle of zenith 90, as the analysis area counts it.
bool InsideHorizon(TPoint P, double HorizonRadius) {
    const double Dx = P.X - CircleCentreX(), Dy = P.Y - CircleCentreY();
    return Dx * Dx + Dy * Dy <= HorizonRadius * HorizonRadius;
}

TVector PointDirection(TPoint P) { return SkyDirection(PixelAzimuth(P.X, P.Y) * kDeg, PixelZenith(P.X, P.Y) * kDeg); }

// Shows the error message Code; True, the estimate's failure.
bool Refuse(const QString& Code) {
    ShowErrorMessage(Code);
    return true;
}

TPoint RoundedPosition(const TVector& V, double B, double A) {
    double X, Y;
    RotatedPosition(X, Y, V.X, V.Y, V.Z, B, A);
    return {RoundInt(X), RoundInt(Y)};
}

}  // namespace

double RotatedAzimuth(double Vx, double Vy, double Vz, double B, double A) {
    const TVector T = Tilted({Vx, Vy, Vz}, B, A);
    const double Azimuth = std::atan2(T.Y, T.X);
    return Azimuth < 0.0 ? Azimuth + 2.0 * kPi : Azimuth;
}

void RotatedPosition(double& X, double& Y, double Vx, double Vy, double Vz, double B, double A) {
    const TVector T = Tilted({Vx, Vy, Vz}, B, A);
    const double Azimuth = std::atan2(T.Y, T.X);
    const double R = ZenithToRadius(ZenithDegrees(T));
    X = R * std::cos(Azimuth) + CircleX + 0.5;
    Y = -R * std::sin(Azimuth) + CircleY + 0.5;
}

double AzimuthDifference(double A1, double A2) {
    const double D = std::fabs(A1 - A2);
    return D > kPi ? 2.0 * kPi - D : D;
}

bool EstimateTilt(const QString& FileName, TBitmap& Image, const TTiltLine& Line, TTiltLine* Drawn) {
    if (!CircleSet) return Refuse(QStringLiteral("ERR10"));
    if (!CorrectionSettingsUsable()) return Refuse(QStringLiteral("ERR32"));
    const double HorizonRadius = ZenithToRadius(90.0);
    // A click has no direction: every pair would cost nothing.
    if (Line[0] == Line[1] || !InsideHorizon(Line[0], HorizonRadius) || !InsideHorizon(Line[1], HorizonRadius))
        return Refuse(QStringLiteral("ERR30"));
    const TVector S1 = PointDirection(Line[0]), S2 = PointDirection(Line[1]);

    // Strictly better only, so the first of equal pairs (A outer, B inner)
    // stays; the steps add up as they go, as the grids always have.
    double BestCost = 2.0 * kPi, BestA = 0.0, BestB = 0.0;
    const auto Search = [&](double CentreA, double CentreB, double Half, double Step) {
        for (double A = CentreA - Half; A <= CentreA + Half; A += Step)
            for (double B = CentreB - Half; B <= CentreB + Half; B += Step) {
                const double Cost = AzimuthDifference(RotatedAzimuth(S1.X, S1.Y, S1.Z, B, A),
                                                      RotatedAzimuth(S2.X, S2.Y, S2.Z, B, A));
                if (Cost < BestCost) {
                    BestCost = Cost;
                    BestA = A;
                    BestB = B;
                }
            }
    };
    Search(0.0, 0.0, kCoarseHalf, kCoarseStep);
    Search(BestA, BestB, kFineHalf, kFineStep);

    const double TiltX = BestB * 180.0 / kPi, TiltY = BestA * 180.0 / kPi;
    EngineHost().ShowMessage(Format(QStringLiteral("tx:=%5.3f,ty:=%5.3f,t0:=%15.13f"), {TiltX, TiltY, BestCost}));
    // The estimate's own settings have passed: only the loading can fail.
    if (ViewTiltCorrectedImage(FileName, Image, TiltX, TiltY, 0.0)) return Refuse(QStringLiteral("ERR14"));
    const TTiltLine Turned{RoundedPosition(S1, BestB, BestA), RoundedPosition(S2, BestB, BestA)};
    TCanvas& Canvas = Image.Canvas();
    Canvas.MoveTo(Turned[0].X, Turned[0].Y);
    Canvas.LineTo(Turned[1].X, Turned[1].Y);
    if (Drawn != nullptr) *Drawn = Turned;
    return false;
}

bool ViewTiltCorrectedImage(const QString& FileName, TBitmap& Image, double TiltX, double TiltY, double Turn) {
    if (!CircleSet || CheckCorrectionSettings()) return true;
    HorizonRadius2 = std::pow(ZenithToRadius(90.0), 2);
    const TAnalysisImageRelease Release;
    if (LoadAnalysisImage(FileName)) return true;
    ShowInstructionMessage(QStringLiteral("MSG9"));
    TResultPicture Out(AnalysisImage->Width(), AnalysisImage->Height());
    const TCorrection Correction(-TiltX * kDeg, -TiltY * kDeg, -Turn * kDeg);
    const TTurnBack FromNorth(NorthForAnalysis);
    // TiltedDirection: the pixel's sky direction turned by the correction,
    // its azimuth counted from north.
    ResampleAnalysisArea(Out, TBilinearSampler(*AnalysisImage), [&](const TPixelSky& Pixel) {
        const TVector S = Correction(
            {Pixel.SinZenith * Pixel.CosAzimuth, Pixel.SinZenith * Pixel.SinAzimuth, Pixel.CosZenith});
        // Straight up (no direction angle) counts as 0, as atan2 has it.
        const double Across = std::sqrt(S.X * S.X + S.Y * S.Y);
        return Across > 0.0 ? FromNorth(S.X / Across, S.Y / Across, ZenithDegrees(S))
                            : FromNorth(1.0, 0.0, ZenithDegrees(S));
    });
    ShowInstructionMessage(QStringLiteral("MSG10"));
    Image.Assign(&Out.Picture());
    return false;
}

}  // namespace tam32
