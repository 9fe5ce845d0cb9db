#include <gtest/gtest.h>

#include "analysis/RecordingEngineHost.h"
#include "analysis/core/EngineHost.h"

using namespace tam32;
using tam32::test::TRecordingEngineHost;

TEST(EngineHostTest, WithoutAnInstalledHostNothingIsShownAndEveryAnswerIsNo) {
    TEngineHost& Host = EngineHost();
    Host.SetStatusText("status");
    Host.AppendResultLine("line");
    Host.ShowChart(TChartData{});
    EXPECT_FALSE(Host.Confirm("Yes?"));
    QString Value = "kept";
    EXPECT_FALSE(Host.InputQuery("Caption", "Prompt", Value));
    EXPECT_EQ(Value, "kept");
    EXPECT_EQ(InputBox("Caption", "Prompt", "default"), "default");
}

TEST(EngineHostTest, InstalledHostsNestAndPutThePreviousOneBack) {
    TEngineHost* const Null = &EngineHost();
    {
        TRecordingEngineHost Outer;
        EXPECT_EQ(&EngineHost(), &Outer);
        {
            TRecordingEngineHost Inner;
            EngineHost().SetStatusText("inner");
            EXPECT_EQ(Inner.StatusTexts, std::vector<QString>{"inner"});
        }
        EXPECT_EQ(&EngineHost(), &Outer);
        EXPECT_TRUE(Outer.StatusTexts.empty());
        // Installing nothing means the host that does nothing.
        TEngineHost* const Previous = SetEngineHost(nullptr);
        EXPECT_EQ(Previous, &Outer);
        EXPECT_EQ(&EngineHost(), Null);
        SetEngineHost(Previous);
    }
    EXPECT_EQ(&EngineHost(), Null);
}

TEST(EngineHostTest, InputBoxGivesTheTypedTextOrOnCancelTheDefault) {
    TRecordingEngineHost Host;
    Host.InputAnswers = {QString("12.5"), std::nullopt, QString()};
    EXPECT_EQ(InputBox("Scale", "Length (cm):", ""), "12.5");
    EXPECT_EQ(InputBox("North", "Azimuth:", "45.000000"), "45.000000");
    EXPECT_EQ(InputBox("Circle", "Diameter:", "480"), "");  // OK on an emptied field
    EXPECT_EQ(InputBox("Circle", "Diameter:", "480"), "480");  // no answers left: Cancel
    ASSERT_EQ(Host.InputBoxes.size(), 4u);
    EXPECT_EQ(Host.InputBoxes[1], std::make_pair(QString("North"), QString("Azimuth:")));
}
