// The batch commands' one row per image: file, target, threshold, cover, sky
// factor, the five-ring index and the band fit, comma-separated.
#include <QFileInfo>
#include <vector>

#include "analysis/canopy/CanopyTransmittance.h"
#include "analysis/canopy/EllipsoidalFit.h"
#include "analysis/canopy/FiveRingLAI.h"
#include "analysis/canopy/LAIReports.h"
#include "analysis/core/AnalysisImage.h"
#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "platform/DelphiFormat.h"

namespace tam32 {

namespace {

QString TargetField() {
    switch (BinarizeTarget) {
        case 0: return QStringLiteral("Red,");
        case 1: return QStringLiteral("Green,");
        case 2: return QStringLiteral("Blue,");
        case 5: return QStringLiteral("RGB,");
        default: return {};
    }
}

QString ThresholdField() {
    QString Field = ThresholdMethodNames.at(ThresholdMethod);
    if (BinarizeTarget == kRGBTarget) {
        int R = 0, G = 0, B = 0;
        GetRGBThresholds(R, G, B);
        Field += Format("(%3d %3d %3d)", {R, G, B});
    }
    else if (BinarizeTarget >= 0 && BinarizeTarget <= 2)
        Field += Format("(%3d)", {LastThreshold});
    return Field;
}

// Needs gap pixels in every ring; a ring without them has no finite term.
QString FiveRingField() {
    double Sum = 0;
    for (int Ring = 0; Ring < int(FiveRings.size()); ++Ring) {
        if (RingCounts[1][Ring] <= 0) return QStringLiteral("---,");
        Sum += FiveRingTerm(Ring, RingTransmittance(Ring, NCTypeBinarization));
    }
    return Format("%8.3f,", {2 * Sum});
}

// The band list ends at the first band that lets nothing through; a band
// the analysis area missed tells nothing and is passed over.
QString BandFitField() {
    std::vector<TFitDirection> Directions;
    for (int Band = NCStart; Band <= NCEnd; ++Band) {
        if (ZenithCounts[0][Band] <= 0) continue;
        const double T = BandTransmittance(Band, NCType);
        if (T <= 0) break;
        Directions.push_back({BandTangent(Band), T});
    }
    const TEllipsoidalFit Fit = FitEllipsoidal(Directions);
    if (!Fit.Valid()) return QStringLiteral("---,---,---");
    return Format("%8.3f,%8.3f,%8.3f", {Fit.LAI, Fit.VH, Fit.MLA});
}

}  // namespace

void AddBatchResultLine(const QString& FileName) {
    const std::optional<double> Cover = CanopyCover(0, 89, NCTypeBinarization);
    QString Row = QFileInfo(FileName).fileName() + QLatin1Char(',') + TargetField() + ThresholdField();
    Row += Cover ? Format(",%8.3f,", {*Cover}) : QStringLiteral(",---,");
    Row += Format("%8.3f,", {SkyFactor});
    Row += Format("%8.3f,", {DifPhoto});
    Row += FiveRingField();
    Row += BandFitField();
    EngineHost().AppendResultLine(Row);
}

}  // namespace tam32
