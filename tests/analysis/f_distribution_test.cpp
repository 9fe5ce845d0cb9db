// The F distribution's upper tail and 5 % point against scipy's.
#include <gtest/gtest.h>

#include <cmath>

#include "FDistReference.h"
#include "analysis/FDistribution.h"

namespace tam32 {
namespace {

TEST(FDistUpperProb, MatchesScipyForEveryPairOfDegreesOfFreedomUpTo40) {
    for (int DF1 = 1; DF1 <= 40; ++DF1)
        for (int DF2 = 1; DF2 <= 40; ++DF2) {
            SCOPED_TRACE(testing::Message() << DF1 << ", " << DF2);
            EXPECT_NEAR(FDistUpperProb(DF1, DF2, test::FDistReferencePoint(DF1, DF2)),
                        test::kFDistReference[DF1 - 1][DF2 - 1], 1e-12);
        }
}

TEST(FDistUpperProb, IsOneAtOrBelowZeroAndNaNWithoutDegreesOfFreedom) {
    EXPECT_EQ(FDistUpperProb(3, 5, 0.0), 1.0);
    EXPECT_EQ(FDistUpperProb(4, 4, -2.0), 1.0);
    EXPECT_EQ(FDistUpperProb(3, 4, std::nan("")), 1.0);
    EXPECT_EQ(FDistUpperProb(1, 1, 1.0), 0.5);
    EXPECT_TRUE(std::isnan(FDistUpperProb(0, 5, 2.0)));
    EXPECT_TRUE(std::isnan(FDistUpperProb(3, -1, 2.0)));
}

TEST(FCritical05, LiesOnTheGridJustAboveScipysPoint) {
    const struct {
        int DF1, DF2;
        double Isf;  // scipy.stats.f.isf(0.05, DF1, DF2); (2, 2) is exactly 19
    } Cases[] = {{1, 1, 161.44763879758827}, {2, 10, 4.1028210151304005}, {3, 20, 3.09839121214078}, {2, 2, 19.0}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(testing::Message() << C.DF1 << ", " << C.DF2);
        const double X = FCritical05(C.DF1, C.DF2);
        EXPECT_GE(X, C.Isf - 1e-12);
        EXPECT_LE(X, C.Isf + 1.1e-10);
        EXPECT_LE(FDistUpperProb(C.DF1, C.DF2, X), 0.05);
        EXPECT_GT(FDistUpperProb(C.DF1, C.DF2, X - 1e-10), 0.05);
    }
}

TEST(FCritical05, GivesUpWithoutDegreesOfFreedom) {
    EXPECT_EQ(FCritical05(0, 10), -1.0);
    EXPECT_EQ(FCritical05(2, 0), -1.0);
}

}  // namespace
}  // namespace tam32
