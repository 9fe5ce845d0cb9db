#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "platform/Rounding.h"
#include "qstring_printer.h"

using namespace tam32;

namespace {
const long double kNaN = std::numeric_limits<long double>::quiet_NaN();
const long double kInf = std::numeric_limits<long double>::infinity();
}  // namespace

TEST(Rounding, HalvesGoToTheEvenNeighbourAndTruncGoesTowardZero) {
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(1.5), 2);
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(-1.5), -2);
    EXPECT_EQ(Round(2.5000001), 3);
    EXPECT_EQ(Round(0.49999999999999994), 0);
    EXPECT_EQ(Trunc(2.9), 2);
    EXPECT_EQ(Trunc(-2.9), -2);
}

TEST(Rounding, ValuesOutsideInt64RaiseInvalidOp) {
    for (long double V : {kNaN, kInf, -kInf, 1e19L, -1e19L, 9223372036854775808.0L}) {
        EXPECT_THROW(Round(V), EInvalidOp) << static_cast<double>(V);
        EXPECT_THROW(Trunc(V), EInvalidOp) << static_cast<double>(V);
    }
    EXPECT_EQ(Trunc(-9223372036854775808.0L), INT64_MIN);
    try {
        Round(kNaN);
        FAIL() << "no exception";
    } catch (const Exception& E) {
        EXPECT_STREQ(E.ClassName(), "EInvalidOp");
        EXPECT_EQ(E.Message(), "Invalid floating point operation");
    }
}

TEST(Rounding, ThirtyTwoBitResultsRaiseRangeError) {
    EXPECT_EQ(RoundInt(2147483647.4), INT32_MAX);
    EXPECT_THROW(RoundInt(2147483647.5), ERangeError);  // rounds to 2^31
    EXPECT_EQ(RoundInt(-2147483648.5), INT32_MIN);      // the even neighbour fits
    EXPECT_EQ(TruncInt(-2147483648.9), INT32_MIN);
    EXPECT_THROW(TruncInt(2147483648.0), ERangeError);
    EXPECT_THROW(RoundInt(kNaN), EInvalidOp);
    EXPECT_EQ(CheckedCast<uint8_t>(255), 255);
    EXPECT_THROW(CheckedCast<uint8_t>(256), ERangeError);
    EXPECT_THROW(CheckedCast<uint32_t>(-1), ERangeError);
    EXPECT_THROW(CheckedCast<int32_t>(uint32_t{0x80000000u}), ERangeError);
}
