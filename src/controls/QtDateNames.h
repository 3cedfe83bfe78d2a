#pragma once
#include <QLocale>

#include "common/DateFormat.h"

namespace quillet {

// Day and month names and date formats of the user's locale.
class CQtDateNames : public IDateNames {
 public:
  explicit CQtDateNames(const QLocale& locale = QLocale::system()) : m_locale(locale) {}
  std::string WeekdayShort(int d) const override;
  std::string WeekdayLong(int d) const override;
  std::string MonthShort(int m) const override;
  std::string MonthLong(int m) const override;
  std::string AmPm(int hour) const override;
  std::string ShortDate(const DateParts& p) const override;
  std::string LongDate(const DateParts& p) const override;
  std::string Time(const DateParts& p) const override;

 private:
  QLocale m_locale;
};

// The current local time expanded into a strftime-style format.
std::string ExpandNow(const std::string& format);

}  // namespace quillet
