// Date-time values and formats in the original's notation.
#include <gtest/gtest.h>

#include "platform/DelphiDateTime.h"
#include "platform/qstring_printer.h"

using namespace tam32;

TEST(DelphiDateTime, DaysCountFromTheEndOf1899) {
    EXPECT_EQ(DelphiToDateTime(0).date(), QDate(1899, 12, 30));
    EXPECT_EQ(DelphiToDateTime(44000.75).date(), QDate(2020, 6, 18));
    EXPECT_EQ(DelphiToDateTime(44000.75).time(), QTime(18, 0));
    // One minute as a fraction is inexact: it still reads as a whole minute.
    EXPECT_EQ(DelphiToDateTime(44000 + 601.0 / 1440).time(), QTime(10, 1));
}

TEST(DelphiDateTime, MonthAndMinuteShareTheirLetters) {
    EXPECT_EQ(QtDateTimeFormat("dd/mm/yy"), "dd'/'MM'/'yy");
    EXPECT_EQ(QtDateTimeFormat("hh:mm"), "hh':'mm");
    EXPECT_EQ(QtDateTimeFormat("hh:nn:ss"), "hh':'mm':'ss");
    EXPECT_EQ(QtDateTimeFormat("yyyy\"年\"m"), "yyyy'年'M");
}

TEST(DelphiDateTime, FormatsValues) {
    EXPECT_EQ(FormatDateTime("dd/mm/yy", 44000.5), "18/06/20");
    EXPECT_EQ(FormatDateTime("mm/dd", 44000.5), "06/18");
    EXPECT_EQ(FormatDateTime("h:nn", 44000 + 605.0 / 1440), "10:05");
}
