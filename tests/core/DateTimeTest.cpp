#include <gtest/gtest.h>

#include "common/DateTime.h"

using namespace quillet;

TEST(DateTime, KnownDatesHaveTheirDayNumbers) {
  EXPECT_DOUBLE_EQ(DateTime::FromParts(1899, 12, 30).Date(), 0.0);
  EXPECT_DOUBLE_EQ(DateTime::FromParts(1900, 1, 1).Date(), 2.0);
  EXPECT_DOUBLE_EQ(DateTime::FromParts(2000, 1, 1).Date(), 36526.0);
  EXPECT_DOUBLE_EQ(DateTime::FromParts(1899, 12, 30, 18).Date(), 0.75);
  // Before the epoch the time of day still counts forward.
  EXPECT_DOUBLE_EQ(DateTime::FromParts(1899, 12, 29, 6).Date(), -1.25);
}

TEST(DateTime, PartsRoundTripToTheSecond) {
  for (const auto& p : {DateParts{2024, 2, 29, 23, 59, 59}, DateParts{1899, 12, 29, 6, 0, 0},
                        DateParts{1753, 1, 1, 0, 0, 1}, DateParts{9999, 12, 31, 12, 30, 0},
                        DateParts{2026, 12, 7, 4, 47, 15}}) {
    DateParts back;
    ASSERT_TRUE(DateTime::FromParts(p).ToParts(back)) << p.year;
    EXPECT_EQ(back.year, p.year);
    EXPECT_EQ(back.month, p.month);
    EXPECT_EQ(back.day, p.day);
    EXPECT_EQ(back.hour, p.hour);
    EXPECT_EQ(back.minute, p.minute);
    EXPECT_EQ(back.second, p.second);
  }
}

TEST(DateTime, WeekdayAndStamp) {
  DateParts p;
  ASSERT_TRUE(DateTime::FromParts(2026, 12, 7).ToParts(p));
  EXPECT_EQ(p.dayOfWeek, 1);  // a Monday
  char stamp[15];
  ASSERT_TRUE(DateTime::Format14(DateTime::FromParts(2024, 1, 2, 3, 4, 5), stamp));
  EXPECT_STREQ(stamp, "20240102030405");
}

TEST(DateTime, NullKeepsItsDateAndImpossibleDatesAreInvalid) {
  DateTime t = DateTime::FromDate(45000.5);
  t.SetNull();
  EXPECT_TRUE(t.IsNull());
  EXPECT_DOUBLE_EQ(t.Date(), 45000.5);
  DateParts p;
  EXPECT_FALSE(t.ToParts(p));
  EXPECT_EQ(DateTime::FromParts(2023, 2, 29).Status(), DateTime::Invalid);
  EXPECT_EQ(DateTime::FromParts(2023, 13, 1).Status(), DateTime::Invalid);
  EXPECT_FALSE(DateTime(1e300, DateTime::Valid).ToParts(p));
}
