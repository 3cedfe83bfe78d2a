#include "controls/QtDateNames.h"

#include <QDate>
#include <QTime>

namespace quillet {

namespace {
int QtDay(int d) { return d == 0 ? 7 : d; }  // Qt counts Monday 1 .. Sunday 7
QDate DateOf(const DateParts& p) { return QDate(p.year, p.month, p.day); }
}  // namespace

std::string CQtDateNames::WeekdayShort(int d) const { return m_locale.dayName(QtDay(d), QLocale::ShortFormat).toStdString(); }
std::string CQtDateNames::WeekdayLong(int d) const { return m_locale.dayName(QtDay(d), QLocale::LongFormat).toStdString(); }
std::string CQtDateNames::MonthShort(int m) const { return m_locale.monthName(m, QLocale::ShortFormat).toStdString(); }
std::string CQtDateNames::MonthLong(int m) const { return m_locale.monthName(m, QLocale::LongFormat).toStdString(); }
std::string CQtDateNames::AmPm(int hour) const {
  return (hour < 12 ? m_locale.amText() : m_locale.pmText()).toStdString();
}
std::string CQtDateNames::ShortDate(const DateParts& p) const {
  return m_locale.toString(DateOf(p), QLocale::ShortFormat).toStdString();
}
std::string CQtDateNames::LongDate(const DateParts& p) const {
  return m_locale.toString(DateOf(p), QLocale::LongFormat).toStdString();
}
std::string CQtDateNames::Time(const DateParts& p) const {
  QString fmt = m_locale.timeFormat(QLocale::LongFormat);
  // The long form may name the time zone; a note's time does not need it.
  fmt.remove(QLatin1Char('t'));
  return m_locale.toString(QTime(p.hour, p.minute, p.second), fmt.trimmed()).toStdString();
}

std::string ExpandNow(const std::string& format) {
  DateParts p;
  DateTime::Now().ToParts(p);
  return ExpandDateFormat(format, p, CQtDateNames());
}

}  // namespace quillet
