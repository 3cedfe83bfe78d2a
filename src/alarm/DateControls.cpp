#include "alarm/DateControls.h"

#include <QCalendarWidget>
#include <QTextCharFormat>

#include "app/Paths.h"
#include "calendar/CCalendar.h"
#include "app/QtSettingsStore.h"
#include "app/UIStrings.h"
#include "app/Ids.h"

namespace quillet {

QDateEdit* MakeDateEdit(QWidget* parent) {
  auto* e = new QDateEdit(parent);
  e->setCalendarPopup(true);
  e->setDisplayFormat(QLocale::system().dateFormat(QLocale::ShortFormat));
  if (QCalendarWidget* cal = e->calendarWidget()) ApplyCalendarOptions(*cal);
  return e;
}

QTimeEdit* MakeTimeEdit(QWidget* parent) {
  auto* e = new QTimeEdit(parent);
  e->setDisplayFormat(QStringLiteral("HH:mm:ss"));
  return e;
}

void FillUnitList(QComboBox& box) {
  box.clear();
  const std::pair<int, int> units[] = {{2, Str::Minutes}, {3, Str::Hours}, {4, Str::Days}, {5, Str::Weeks}, {6, Str::Months}, {7, Str::Years}};
  for (const auto& [code, text] : units) box.addItem(FromLocal(LoadUIString(text)), code);
}

void SelectUnit(QComboBox& box, int code) { box.setCurrentIndex(box.findData(code)); }

int SelectedUnit(const QComboBox& box) {
  const QVariant v = box.currentData();
  return v.isValid() ? v.toInt() : 5;
}

DateParts PartsOfDate(const QDate& d) {
  DateParts p;
  p.year = d.year();
  p.month = d.month();
  p.day = d.day();
  return p;
}

DateParts PartsOfTime(const QTime& t) {
  DateParts p;
  p.hour = t.hour();
  p.minute = t.minute();
  p.second = t.second();
  return p;
}

QDate QDateOf(const DateParts& p) { return QDate(p.year, p.month, p.day); }
QTime QTimeOf(const DateParts& p) { return QTime(p.hour, p.minute, p.second); }

}  // namespace quillet
