#pragma once
// strftime-style date and time codes, expanded with the user's names and
// formats. "%#c" and "%#x" are the long forms; "#" before a number drops
// its leading zeros.
#include <string>
#include <string_view>

#include "common/DateTime.h"

namespace quillet {

class IDateNames {
 public:
  virtual ~IDateNames() = default;
  virtual std::string WeekdayShort(int dayOfWeek) const = 0;  // 0 Sunday
  virtual std::string WeekdayLong(int dayOfWeek) const = 0;
  virtual std::string MonthShort(int month) const = 0;        // 1..12
  virtual std::string MonthLong(int month) const = 0;
  virtual std::string AmPm(int hour) const = 0;
  virtual std::string ShortDate(const DateParts& p) const = 0;
  virtual std::string LongDate(const DateParts& p) const = 0;
  virtual std::string Time(const DateParts& p) const = 0;
};

// English names and the C locale's formats.
class CEnglishDateNames : public IDateNames {
 public:
  std::string WeekdayShort(int d) const override;
  std::string WeekdayLong(int d) const override;
  std::string MonthShort(int m) const override;
  std::string MonthLong(int m) const override;
  std::string AmPm(int hour) const override;
  std::string ShortDate(const DateParts& p) const override;
  std::string LongDate(const DateParts& p) const override;
  std::string Time(const DateParts& p) const override;
};

std::string ExpandDateFormat(std::string_view format, const DateParts& when, const IDateNames& names);

// The caret marker of a new note's text: "%p" left over after expansion
// (written "%%p"). Removes it and returns its position, or npos.
std::size_t TakeCaretMarker(std::string& text);

}  // namespace quillet
