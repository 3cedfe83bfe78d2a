#pragma once
#include <QString>

namespace quillet {

class CSettings;

// The entry that starts the program when the user logs in:
// $XDG_CONFIG_HOME/autostart/quillet.desktop.
QString AutostartPath();
bool AutostartOn();
// Writes the entry for the given program, or removes it; false when that failed.
bool SetAutostart(bool on, const QString& program);
// The first start writes the entry once when "Autostart" is on; after that
// only the user's choice in the settings writes or removes it.
void AutostartOnFirstRun(CSettings& settings, const QString& program);

}  // namespace quillet
