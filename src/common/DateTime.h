#pragma once
// A local calendar date and time as the note files keep it: an OLE DATE
// (days since 30 December 1899, the fraction being the time of day) with a
// status word.
#include <cstdint>

namespace quillet {

struct DateParts {
  int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
  int dayOfWeek = 0;  // 0 Sunday .. 6 Saturday, filled by ToParts
  int dayOfYear = 0;  // 1..366, filled by ToParts
};

class DateTime {
 public:
  enum Status : int32_t { Valid = 0, Invalid = 1, Null = 2 };

  DateTime() = default;
  DateTime(double date, int32_t status) : m_date(date), m_status(status) {}

  static DateTime FromDate(double date) { return {date, Valid}; }
  // An invalid DateTime when the parts do not name a real date and time.
  static DateTime FromParts(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
  static DateTime FromParts(const DateParts& p) {
    return FromParts(p.year, p.month, p.day, p.hour, p.minute, p.second);
  }
  // The current local time, to the second.
  static DateTime Now();

  double Date() const { return m_date; }
  int32_t Status() const { return m_status; }
  bool IsValid() const { return m_status == Valid; }
  bool IsNull() const { return m_status == Null; }

  // Keeps the DATE part, as the status alone tells that a value is unset.
  void SetNull() { m_status = Null; }
  void SetDate(double date) {
    m_date = date;
    m_status = Valid;
  }

  // False for a value that is not valid.
  bool ToParts(DateParts& out) const;

  // "%04d%02d%02d%02d%02d%02d", as the recycle bin stamps its entries.
  static bool Format14(const DateTime& t, char out[15]);

  bool operator==(const DateTime& o) const { return m_status == o.m_status && (m_status != Valid || m_date == o.m_date); }

 private:
  double m_date = 0.0;
  int32_t m_status = Null;
};

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int year, int month, int day);
void CivilFromDays(int64_t days, int& year, int& month, int& day);
int DaysInMonth(int year, int month);

}  // namespace quillet
