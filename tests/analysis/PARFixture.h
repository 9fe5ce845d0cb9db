#pragma once
// PAR runs on small synthetic photographs: an equidistant lens over a circle
// of radius 100 centred on pixel (100, 100) of a 201 x 201 picture, bright
// pixels the gap, and report headings whose numbers tests can read back.
#include <QFile>
#include <QStringList>

#include "AnalysisFixture.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/sun/PAREstimate.h"
#include "platform/Bitmap.h"

namespace tam32::test {

class PARFixture : public AnalysisFixture {
protected:
    static constexpr int kSize = 201, kCentre = 100;

    void SetUp() override {
        AnalysisFixture::SetUp();
        AppendMessages("[DIALOG_CODE_EN]\r\nDMS53=Day\r\nDMS54=Month\r\nDMS55=Year\r\nDMS56=Times\r\nDMS57=Dates\r\n"
                       "DMS62=Direct %10.3f %10.3f\r\nDMS63=Diffuse %10.3f %10.3f\r\nDMS64=Total %10.3f %10.3f\r\n");
        UsePARSettings();
    }

    // The circle, lens and classification of these photographs.
    void UsePARSettings() {
        CircleSet = true;
        CircleX = CircleY = kCentre;
        CircleR = 100;
        CircleCenterOffset = 0.0;
        LensType = 0;
        MaxViewAngle = 90.0;
        NorthForAnalysis = 90.0;
        BinarizeTarget = 2;
        ThresholdMethod = 2;  // fixed
        FixedThreshold = 128;
        ThresholdCondition = 0;
        DrawResults = false;
    }

    // White where the analysis sees a pixel within Radius of the circle's
    // centre (it measures from a pixel's top-left corner), black elsewhere.
    QString Sky(double Radius, int Height = kSize) {
        return WriteDisc(QStringLiteral("sky.bmp"), kSize, Height, kCentre + 1.0, kCentre + 1.0, Radius,
                         TRgb{255, 255, 255});
    }

    // Runs the estimate; the report's lines, empty after a failure.
    QStringList Run(const QString& File) {
        Host.ResultLines.clear();
        Host.Charts.clear();
        EXPECT_FALSE(PAREstimate(File, Picture, TRect{0, 0, kSize - 1, kSize - 1}));
        return QStringList(Host.ResultLines.begin(), Host.ResultLines.end());
    }

    // The two numbers at the end of a report line.
    static std::pair<double, double> Pair(const QString& Line) {
        const QStringList Parts = Line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        return {Parts[Parts.size() - 2].toDouble(), Parts.back().toDouble()};
    }

    TBitmap Picture;
};

}  // namespace tam32::test
