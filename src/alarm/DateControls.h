#pragma once
#include <QComboBox>
#include <QDateEdit>
#include <QTimeEdit>

#include "common/DateTime.h"

namespace quillet {

// A date picker whose calendar follows the calendar options (week numbers,
// today marked).
QDateEdit* MakeDateEdit(QWidget* parent);
QTimeEdit* MakeTimeEdit(QWidget* parent);
// The six period units, each carrying its code.
void FillUnitList(QComboBox& box);
void SelectUnit(QComboBox& box, int code);
int SelectedUnit(const QComboBox& box);

DateParts PartsOfDate(const QDate& d);
DateParts PartsOfTime(const QTime& t);
QDate QDateOf(const DateParts& p);
QTime QTimeOf(const DateParts& p);

}  // namespace quillet
