// Settings without physical sense, as a hand-edited settings file may hold
// them: each routine refuses them with "ERR22" before any work and leaves
// its results as they were, while values that make sense, however unusual,
// still run.
#include <QFile>
#include <QImage>
#include <cmath>
#include <functional>
#include <limits>

#include "analysis/PARFixture.h"
#include "analysis/canopy/GapFraction.h"
#include "analysis/canopy/LAIReports.h"
#include "analysis/corrections/BasalAreaPanorama.h"
#include "analysis/corrections/HemiImageCorrection.h"
#include "analysis/corrections/TiltCorrection.h"
#include "analysis/sun/SunTrack.h"

namespace tam32::test {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct TCase {
    const char* Name;
    std::function<void()> Set;
};

class SettingsCheckTest : public PARFixture {
protected:
    // Built-in settings with these photographs' circle, then the case's values.
    void Use(const TCase& Case) {
        ResetSettingsToDefaults(QDate(2024, 6, 21));
        UsePARSettings();
        Host.StatusTexts.clear();
        Host.ResultLines.clear();
        Host.Charts.clear();
        Case.Set();
    }
    void Blacken() {
        QImage Image(kSize, kSize, QImage::Format_BGR888);
        Image.fill(Qt::black);
        Picture.SetImage(Image);
    }
    bool RunGapFraction(const QString& File) {
        return GapFractionAnalysis(File, Picture, TRect{0, 0, kSize - 1, kSize - 1});
    }
    bool RunPAR(const QString& File) { return PAREstimate(File, Picture, TRect{0, 0, kSize - 1, kSize - 1}); }
    // Refused before any work: the refusal (Code) is all that was shown.
    void ExpectRefusedAtOnce(const char* Code = "ERR22") const {
        EXPECT_EQ(Host.StatusTexts, std::vector<QString>{QLatin1String(Code)});
        EXPECT_TRUE(Host.ResultLines.empty());
        EXPECT_TRUE(Host.Charts.empty());
        EXPECT_EQ(AnalysisImage, nullptr);
    }
};

TEST_F(SettingsCheckTest, TheGapFractionAnalysisRefusesViewAnglesSlopesAndZenithModelsWithoutSense) {
    const QString File = Sky(60.0);
    const TCase Refused[] = {
        {"equidistant lens, view angle 0", [] { MaxViewAngle = 0.0; }},
        {"normal lens, negative view angle", [] { LensType = 7; MaxViewAngle = -35.0; }},
        {"lens outside the list, view angle not a number", [] { LensType = 12; MaxViewAngle = kNaN; }},
        {"slope inclination not a number", [] { SlopeCorrection = true; SlopeInclination = kNaN; }},
        {"slope azimuth infinite", [] { SlopeCorrection = true; SlopeAzimuth = kInfinity; }},
        {"zenith model 5 under an automatic threshold", [] { ThresholdMethod = 0; ZenithThresholdType = 5; }},
    };
    for (const TCase& Case : Refused) {
        SCOPED_TRACE(Case.Name);
        Use(Case);
        DrawResults = true;
        SkyFactor = 42.0;
        RingCounts[0][0] = 7.0;
        ZenithCounts[1][10] = 7.0;
        QImage Small(5, 5, QImage::Format_BGR888);
        Small.fill(Qt::red);
        Picture.SetImage(Small);
        EXPECT_TRUE(RunGapFraction(File));
        ExpectRefusedAtOnce();
        EXPECT_EQ(SkyFactor, 42.0);
        EXPECT_EQ(RingCounts[0][0], 7.0);
        EXPECT_EQ(ZenithCounts[1][10], 7.0);
        EXPECT_EQ(Picture.Image(), Small);
    }
    const TCase Kept[] = {
        {"a lens model that has no view angle", [] { LensType = 3; MaxViewAngle = 0.0; }},
        {"a fisheye that sees beyond the horizon", [] { MaxViewAngle = 95.0; }},
        {"slope angles while the correction is off", [] { SlopeInclination = kNaN; }},
        {"zenith model 5 with the fixed threshold", [] { ZenithThresholdType = 5; }},
    };
    for (const TCase& Case : Kept) {
        SCOPED_TRACE(Case.Name);
        Use(Case);
        EXPECT_FALSE(RunGapFraction(File));
        EXPECT_EQ(Host.LastStatus(), QStringLiteral("MSG10"));
    }
}

TEST_F(SettingsCheckTest, ThePAREstimateRefusesASkySiteOrTimeWithoutSense) {
    const QString File = Sky(60.0);
    const TCase Refused[] = {
        {"no transmissivity", [] { Tau = 0.0; }},
        {"more than full transmissivity", [] { Tau = 1.01; }},
        {"transmissivity not a number", [] { Tau = kNaN; }},
        {"altitude where the air pressure formula reaches zero", [] { AboveSea = 44308.0; }},
        {"negative PAR ratio", [] { PARRatio = -0.51; }},
        {"diffuse ratio not a number", [] { DiffuseRatio = kNaN; }},
        {"latitude beyond the north pole", [] { LatitudeH = 90; LatitudeM = 30; LatitudeS = 0; }},
        {"latitude beyond the south pole", [] { LatitudeH = -89; LatitudeM = 61; LatitudeS = 0; }},
        {"time zone of a whole day", [] { TimeZone = 24.0; }},
        {"time zone not a number", [] { TimeZone = kNaN; }},
        {"view angle 0 of the gap fraction's lens", [] { MaxViewAngle = 0.0; }},
    };
    for (const TCase& Case : Refused) {
        SCOPED_TRACE(Case.Name);
        Use(Case);
        AzimuthMaskUse = true;
        EXPECT_TRUE(RunPAR(File));
        ExpectRefusedAtOnce();
        EXPECT_TRUE(AzimuthMaskUse);
        EXPECT_FALSE(KeepAnalysisImage);
    }
    const TCase Kept[] = {
        {"a perfectly clear sky", [] { Tau = 1.0; }},
        {"below sea level", [] { AboveSea = -430.0; }},
        {"at the south pole", [] { LatitudeH = -90; LatitudeM = 0; LatitudeS = 0; }},
        {"a zone west of Greenwich", [] { TimeZone = -5.0; }},
    };
    for (const TCase& Case : Kept) {
        SCOPED_TRACE(Case.Name);
        Use(Case);
        EXPECT_EQ(Run(File).size(), 8);
    }
}

TEST_F(SettingsCheckTest, TheSunTracksRefuseAViewAngleOrSiteWithoutSense) {
    const TCase Refused[] = {
        {"equidistant lens, view angle 0", [] { MaxViewAngle = 0.0; }},
        {"normal lens, negative view angle", [] { LensType = 7; MaxViewAngle = -20.0; }},
        {"latitude beyond the pole", [] { LatitudeH = 91; }},
        {"time zone not a number", [] { TimeZone = kNaN; }},
    };
    for (const TCase& Case : Refused) {
        SCOPED_TRACE(Case.Name);
        Use(Case);
        Blacken();
        const QImage Before = Picture.Image();
        EXPECT_TRUE(DrawSunTrackOnImage(Picture));
        ExpectRefusedAtOnce();
        EXPECT_EQ(Picture.Image(), Before);
    }
    Use({"a lens model that has no view angle", [] { LensType = 3; MaxViewAngle = 0.0; }});
    Blacken();
    const QImage Before = Picture.Image();
    EXPECT_FALSE(DrawSunTrackOnImage(Picture));
    EXPECT_NE(Picture.Image(), Before);
}

TEST_F(SettingsCheckTest, TheLensCorrectionsRefuseAViewAngleWithoutSense) {
    const QString File = Sky(60.0);
    const QString Out = Folder.filePath(QStringLiteral("out.bmp"));
    const struct {
        const char* Name;
        std::function<bool()> Run;
        const char* Refusal;
    } Routines[] = {
        // The estimate says what it refuses, and why, in one message.
        {"tilt estimate", [&] { return EstimateTilt(File, Picture, {TPoint{60, 60}, TPoint{90, 60}}, nullptr); },
         "ERR32"},
        {"tilt view", [&] { return ViewTiltCorrectedImage(File, Picture, 5.0, 0.0, 0.0); }, "ERR22"},
        {"north-up and slope file", [&] { return !CorrectHemiImageFile(File, Out); }, "ERR22"},
        {"panorama", [&] { return BAMeasurement(File, Picture); }, "ERR22"},
    };
    for (const auto& Routine : Routines) {
        SCOPED_TRACE(Routine.Name);
        Use({"equidistant lens, view angle 0", [] { MaxViewAngle = 0.0; }});
        Blacken();
        const QImage Before = Picture.Image();
        EXPECT_TRUE(Routine.Run());
        ExpectRefusedAtOnce(Routine.Refusal);
        EXPECT_EQ(Picture.Image(), Before);
        EXPECT_FALSE(QFile::exists(Out));
    }
}

TEST_F(SettingsCheckTest, TheLAIReportsRefuseASourceRangeOrMethodWithoutSense) {
    const std::pair<const char*, std::function<bool()>> Reports[] = {
        {"full report", [] { return ShowLAIResults(QStringLiteral("a.bmp")); }},
        {"five rings", [] { return ShowLAIPCA(); }},
        {"fits", [] { return ShowLAINC(); }},
    };
    const TCase Refused[] = {
        {"transmittance source 4", [] { NCType = 4; }},
        {"transmittance source -1", [] { NCType = -1; }},
        {"fit from below the zenith", [] { NCStart = -1; }},
        {"fit to the horizon band", [] { NCEnd = 90; }},
        {"threshold method 7", [] { ThresholdMethod = 7; }},
        {"no threshold method", [] { ThresholdMethod = -1; }},
    };
    const auto HalfOpen = [] {
        for (int Band = 0; Band <= 89; ++Band) {
            ZenithCounts[0][Band] = 100.0;
            ZenithCounts[1][Band] = 50.0;
        }
        for (int Ring = 0; Ring < 6; ++Ring) {
            RingCounts[0][Ring] = 1000.0;
            RingCounts[1][Ring] = 500.0;
        }
    };
    for (const auto& [Report, Show] : Reports) {
        for (const TCase& Case : Refused) {
            SCOPED_TRACE(testing::Message() << Report << ", " << Case.Name);
            Use(Case);
            HalfOpen();
            EXPECT_TRUE(Show());
            ExpectRefusedAtOnce();
        }
        SCOPED_TRACE(Report);
        Use({"a fit range given backwards", [] { NCStart = 80; }});
        HalfOpen();
        EXPECT_FALSE(Show());
        EXPECT_FALSE(Host.ResultLines.empty());
    }
}

}  // namespace
}  // namespace tam32::test
