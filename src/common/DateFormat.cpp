#include "common/DateFormat.h"

#include <cstdio>

namespace quillet {

namespace {
const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};

std::string Num(int v, int width, bool dropZeros) {
  char buf[16];
  if (dropZeros)
    std::snprintf(buf, sizeof buf, "%d", v);
  else
    std::snprintf(buf, sizeof buf, "%0*d", width, v);
  return buf;
}

int WeekOfYear(const DateParts& p, int firstDay) {
  // Weeks start on Sunday (firstDay 0) or Monday (1); days before the first such day are week 0.
  const int wd = (p.dayOfWeek - firstDay + 7) % 7;
  return (p.dayOfYear - 1 - wd + 7) / 7;
}
}  // namespace

std::string CEnglishDateNames::WeekdayShort(int d) const { return std::string(kDays[((d % 7) + 7) % 7]).substr(0, 3); }
std::string CEnglishDateNames::WeekdayLong(int d) const { return kDays[((d % 7) + 7) % 7]; }
std::string CEnglishDateNames::MonthShort(int m) const { return std::string(kMonths[(m + 11) % 12]).substr(0, 3); }
std::string CEnglishDateNames::MonthLong(int m) const { return kMonths[(m + 11) % 12]; }
std::string CEnglishDateNames::AmPm(int hour) const { return hour < 12 ? "AM" : "PM"; }
std::string CEnglishDateNames::ShortDate(const DateParts& p) const {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", p.month, p.day, p.year % 100);
  return buf;
}
std::string CEnglishDateNames::LongDate(const DateParts& p) const {
  return WeekdayLong(p.dayOfWeek) + ", " + MonthLong(p.month) + " " + std::to_string(p.day) + ", " +
         std::to_string(p.year);
}
std::string CEnglishDateNames::Time(const DateParts& p) const {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", p.hour, p.minute, p.second);
  return buf;
}

std::string ExpandDateFormat(std::string_view f, const DateParts& p, const IDateNames& n) {
  std::string out;
  for (std::size_t i = 0; i < f.size(); ++i) {
    if (f[i] != '%' || i + 1 >= f.size()) {
      out.push_back(f[i]);
      continue;
    }
    std::size_t j = i + 1;
    const bool alt = f[j] == '#';
    if (alt && j + 1 < f.size()) ++j;
    const char c = f[j];
    switch (c) {
      case '%': out.push_back('%'); break;
      case 'a': out += n.WeekdayShort(p.dayOfWeek); break;
      case 'A': out += n.WeekdayLong(p.dayOfWeek); break;
      case 'b': out += n.MonthShort(p.month); break;
      case 'B': out += n.MonthLong(p.month); break;
      case 'c': out += (alt ? n.LongDate(p) : n.ShortDate(p)) + " " + n.Time(p); break;
      case 'x': out += alt ? n.LongDate(p) : n.ShortDate(p); break;
      case 'X': out += n.Time(p); break;
      case 'd': out += Num(p.day, 2, alt); break;
      case 'H': out += Num(p.hour, 2, alt); break;
      case 'I': out += Num(p.hour % 12 == 0 ? 12 : p.hour % 12, 2, alt); break;
      case 'j': out += Num(p.dayOfYear, 3, alt); break;
      case 'm': out += Num(p.month, 2, alt); break;
      case 'M': out += Num(p.minute, 2, alt); break;
      case 'p': out += n.AmPm(p.hour); break;
      case 'S': out += Num(p.second, 2, alt); break;
      case 'U': out += Num(WeekOfYear(p, 0), 2, alt); break;
      case 'W': out += Num(WeekOfYear(p, 1), 2, alt); break;
      case 'w': out += std::to_string(p.dayOfWeek); break;
      case 'y': out += Num(p.year % 100, 2, alt); break;
      case 'Y': out += std::to_string(p.year); break;
      default:
        // An unknown code stays as it was written.
        out.append(f.substr(i, j - i + 1));
        break;
    }
    i = j;
  }
  return out;
}

std::size_t TakeCaretMarker(std::string& text) {
  const auto p = text.find("%p");
  if (p != std::string::npos) text.erase(p, 2);
  return p;
}

}  // namespace quillet
