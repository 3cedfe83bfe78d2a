#include "common/DateTime.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace quillet {

namespace {
// 1899-12-30 counted from 1970-01-01.
constexpr int64_t kOleEpochDays = -25569;
constexpr double kMaxDate = 2958465.0;   // 9999-12-31
constexpr double kMinDate = -657434.0;   // 0100-01-01
}  // namespace

int64_t DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t y = yoe + era * 400;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(y + (month <= 2));
}

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) return 29;
  return kDays[month - 1];
}

DateTime DateTime::FromParts(int year, int month, int day, int hour, int minute, int second) {
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
      hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
    return {0.0, Invalid};
  const double days = static_cast<double>(DaysFromCivil(year, month, day) - kOleEpochDays);
  const double frac = (hour * 3600 + minute * 60 + second) / 86400.0;
  // Before the epoch the fraction counts forward from the day while the
  // whole part counts backward: -1.25 is 29 December 1899, 06:00.
  return {days >= 0 ? days + frac : days - frac, Valid};
}

DateTime DateTime::Now() {
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &t);
#else
  localtime_r(&t, &tm);
#endif
  return FromParts(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
}

bool DateTime::ToParts(DateParts& out) const {
  if (m_status != Valid || !std::isfinite(m_date) || m_date >= kMaxDate + 1.0 || m_date <= kMinDate - 1.0) return false;
  double whole = std::trunc(m_date);
  double frac = std::fabs(m_date - whole);
  // Round to the second; a fraction that rounds to a full day moves the day on.
  int64_t secs = std::llround(frac * 86400.0);
  if (secs >= 86400) {
    secs -= 86400;
    whole += m_date >= 0 ? 1 : -1;
  }
  const int64_t days = static_cast<int64_t>(whole) + kOleEpochDays;
  CivilFromDays(days, out.year, out.month, out.day);
  out.hour = static_cast<int>(secs / 3600);
  out.minute = static_cast<int>((secs / 60) % 60);
  out.second = static_cast<int>(secs % 60);
  out.dayOfWeek = static_cast<int>(((days % 7) + 7 + 4) % 7);  // 1970-01-01 was a Thursday
  out.dayOfYear = static_cast<int>(days - DaysFromCivil(out.year, 1, 1) + 1);
  return true;
}

bool DateTime::Format14(const DateTime& t, char out[15]) {
  DateParts p;
  if (!t.ToParts(p)) return false;
  std::snprintf(out, 15, "%04d%02d%02d%02d%02d%02d", p.year, p.month, p.day, p.hour, p.minute, p.second);
  return true;
}

}  // namespace quillet
