#pragma once
#include <QByteArray>

namespace quillet {

// Brings the program up: language, single instance, settings, the hidden
// main window; runs the event loop and shuts down on exit or on a signal.
class CQuilletApp {
 public:
  static int Run(int argc, char** argv);
  // The Qt platform to ask for: notes place and move their own windows,
  // which a Wayland client may not, so a Wayland session with XWayland runs
  // them through X. Empty: leave Qt's choice (or the user's) alone.
  static QByteArray PlatformToUse(const QByteArray& asked, const QByteArray& waylandDisplay, const QByteArray& x11Display);
};

}  // namespace quillet
