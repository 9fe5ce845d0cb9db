#include "analysis/canopy/LAIReports.h"

#include <vector>

#include "analysis/canopy/CanopySettingsCheck.h"
#include "analysis/canopy/CanopyTransmittance.h"
#include "analysis/canopy/EllipsoidalFit.h"
#include "analysis/canopy/FiveRingLAI.h"
#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "platform/DelphiFormat.h"
#include "platform/WinTypes.h"

namespace tam32 {

namespace {

void Append(const QString& Line) { EngineHost().AppendResultLine(Line); }

// A cover with no sampled band has no value to print.
QString CoverLine(const char* Label, std::optional<double> Cover) {
    if (!Cover) return Format("%s%8s", {Label, "---"});
    return Format("%s%8.3f", {Label, *Cover});
}

void AppendFit(const TEllipsoidalFit& Fit) {
    if (!Fit.Valid()) return;
    Append(Format("LAI(N&C):%8.3f", {Fit.LAI}));
    Append(Format("     V/H:%8.3f", {Fit.VH}));
    Append(Format("     MLA:%8.3f", {Fit.MLA}));
}

TChartData GapFractionChart() {
    TChartData Chart;
    Chart.Caption = GetDialogMessage("DMS26");
    const QString GapTitle = GetDialogMessage("DMS28");
    const QString Titles[4] = {QStringLiteral("Red"), QStringLiteral("Green"), QStringLiteral("Blue"), GapTitle};
    for (int S = 0; S < 4; ++S) {
        Chart.Series[S].Title = Titles[S];
        Chart.Series[S].DateTimeX = false;
    }
    Chart.BottomAxisTitle = GetDialogMessage("DMS27");
    Chart.LeftAxisTitle = GapTitle;
    const TColor Colors[3] = {0x0000FF, 0x008000, 0xFF0000};
    for (int Band = 0; Band <= 89; ++Band) {
        // A band the analysis area missed has no value to plot.
        if (ZenithCounts[0][Band] <= 0) continue;
        for (int C = 0; C < 3; ++C) Chart.Series[C].Points.push_back({double(Band), BandChannelRatio(C, Band), Colors[C]});
        Chart.Series[3].Points.push_back(
            {double(Band), BandTransmittance(Band, NCTypeBinarization), clBlack});
    }
    return Chart;
}

}  // namespace

bool ShowLAIResults(const QString& FileName) {
    if (CheckLAIReportSettings()) return true;
    if (NCType == NCTypeBinarization)
        Append(QStringLiteral("Estimated by Openness using ") + ThresholdMethodNames.at(ThresholdMethod));
    else
        Append(QStringLiteral("Estimated by Transmitance using ") + DNRatioNames.at(NCType));
    // The cover within the fitted range is the mean over that range, so a
    // closed canopy reads 100 there as it does over the whole hemisphere.
    Append(CoverLine("Cover in all area(%)      : ", CanopyCover(0, 89, NCType)));
    Append(CoverLine("Cover within N&C area(%)  : ", CanopyCover(NCStart, NCEnd, NCType)));
    Append(Format("Sky Factor in all area(%%) : %8.3f", {SkyFactor}));

    EngineHost().ShowChart(GapFractionChart());

    ShowLAIPCA();
    ShowLAINC();
    return false;
}

bool ShowLAIPCA() {
    if (CheckLAIReportSettings()) return true;
    Append(GetDialogMessage("DMS25"));
    double Sum = 0;
    for (int Ring = 0; Ring < int(FiveRings.size()); ++Ring) {
        const double T = RingTransmittance(Ring, NCType);
        const QString Line = Format("%s    %11.0f  %11.0f   %11.3f",
                                    {FiveRings[Ring].Label, RingCounts[0][Ring], RingCounts[1][Ring], T});
        if (T <= 0) {
            Append(Line + QStringLiteral("(not use)"));
            continue;
        }
        Append(Line);
        Sum += FiveRingTerm(Ring, T);
    }
    Append(Format("LAI(PCA):%8.3f", {2 * Sum}));
    return false;
}

bool ShowLAINC() {
    if (CheckLAIReportSettings()) return true;
    Append(QStringLiteral("Calcurated based on rings:"));
    std::vector<TFitDirection> Directions;
    for (int Ring = 0; Ring < int(FiveRings.size()); ++Ring) {
        const double T = RingTransmittance(Ring, NCType);
        if (T > 0 && RingUse[Ring])
            Directions.push_back({BandTangent(FiveRings[Ring].Zenith), T});
    }
    AppendFit(FitEllipsoidal(Directions));

    Append(QStringLiteral("Calcurated based on degrees:"));
    Directions.clear();
    for (int Band = NCStart; Band <= NCEnd; ++Band) {
        const double T = BandTransmittance(Band, NCType);
        if (T > 0) Directions.push_back({BandTangent(Band), T});
    }
    AppendFit(FitEllipsoidal(Directions));

    // The heading, the mark between a band's two angles and that of a band
    // left out are the results window's.
    Append(GetFormCaption(QStringLiteral("INFODLG"), 11));
    const QString LeftOut = GetFormCaption(QStringLiteral("INFODLG"), 12);
    const QString Between = GetFormCaption(QStringLiteral("INFODLG"), 13);
    for (int Band = 0; Band <= 89; ++Band) {
        const double T = BandTransmittance(Band, NCType);
        Append(Format("%2d", {Band}) + Between +
               Format("%2d: %8.0f,%8.0f,%8.3f", {Band + 1, ZenithCounts[0][Band], ZenithCounts[1][Band], T}) +
               (T > 0 ? QString() : LeftOut) +
               Format(",%8.3f,%8.3f,%8.3f", {100 * BandChannelRatio(0, Band), 100 * BandChannelRatio(1, Band),
                                              100 * BandChannelRatio(2, Band)}));
    }
    return false;
}

}  // namespace tam32
