// The image corrections as routines of "tam32-probe run", with the options
// that they read, e.g.
//   run MakeCLDFile IMAGE --set DistortParameter=20 --set CLDFullImage=1 --dst OUT.bmp
//   run ViewCLDImage IMAGE --set DistortParameter=-20 --out VIEW.bmp
//   run EstimateTilt IMAGE --circle X,Y,R --line X0,Y0,X1,Y1 --out VIEW.bmp
//   run ViewTiltCorrectedImage IMAGE --circle X,Y,R --tilt TX,TY,TURN --out VIEW.bmp
//   run CorrectHemiImageFile IMAGE --circle X,Y,R --north DEG --dst OUT.bmp
//   run BAMeasurement IMAGE --circle X,Y,R --out PANORAMA.bmp
// EstimateTilt also prints "LINE: X1,Y1,X2,Y2", the line it drew.
// CorrectHemiImageFile succeeds when it wrote the file.
#include <QLocale>
#include <array>

#include "ProbePrinting.h"
#include "ProbeRun.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/corrections/BasalAreaPanorama.h"
#include "analysis/corrections/HemiImageCorrection.h"
#include "analysis/corrections/TiltCorrection.h"
#include "analysis/geometry/DistortionCorrection.h"

namespace tam32::probe {

QString& ProbeDestination() {
    static QString File;
    return File;
}

namespace {

TAM32_PROBE_SCALAR(CLDFullImage);

// --tilt TX,TY,TURN in degrees.
std::array<double, 3>& Tilt() {
    static std::array<double, 3> Angles{};
    return Angles;
}

const RegisterProbeRunOption kDst("--dst", [](const QString& Value) {
    ProbeDestination() = Value;
    return !Value.isEmpty();
});

const RegisterProbeRunOption kTilt("--tilt", [](const QString& Value) {
    const QStringList Parts = Value.split(QLatin1Char(','));
    if (Parts.size() != 3) return false;
    for (int I = 0; I < 3; ++I) {
        bool Ok = false;
        Tilt()[std::size_t(I)] = QLocale::c().toDouble(Parts[I], &Ok);
        if (!Ok) return false;
    }
    return true;
});

const RegisterProbeRoutine kMakeCLDFile("MakeCLDFile", [](const QString& File, TBitmap&, const TRect&) {
    return MakeCLDFile(File, ProbeDestination());
});

const RegisterProbeRoutine kViewCLDImage("ViewCLDImage", [](const QString& File, TBitmap& Image, const TRect&) {
    return ViewCLDImage(File, Image);
});

const RegisterProbeRoutine kEstimateTilt("EstimateTilt", [](const QString& File, TBitmap& Image, const TRect&) {
    TTiltLine Drawn;
    if (EstimateTilt(File, Image, {ProbeLine().Start, ProbeLine().End}, &Drawn)) return true;
    PrintLine(QStringLiteral("LINE: %1,%2,%3,%4").arg(Drawn[0].X).arg(Drawn[0].Y).arg(Drawn[1].X).arg(Drawn[1].Y));
    return false;
});

const RegisterProbeRoutine kViewTiltCorrectedImage("ViewTiltCorrectedImage",
                                                   [](const QString& File, TBitmap& Image, const TRect&) {
                                                       return ViewTiltCorrectedImage(File, Image, Tilt()[0], Tilt()[1],
                                                                                     Tilt()[2]);
                                                   });

const RegisterProbeRoutine kCorrectHemiImageFile("CorrectHemiImageFile",
                                                  [](const QString& File, TBitmap&, const TRect&) {
                                                      return !CorrectHemiImageFile(File, ProbeDestination());
                                                  });

const RegisterProbeRoutine kBAMeasurement("BAMeasurement", [](const QString& File, TBitmap& Image, const TRect&) {
    return BAMeasurement(File, Image);
});

}  // namespace
}  // namespace tam32::probe
