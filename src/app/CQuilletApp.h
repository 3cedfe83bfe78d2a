#pragma once

namespace quillet {

// Brings the program up: language, single instance, settings, the hidden
// main window; runs the event loop and shuts down on exit or on a signal.
class CQuilletApp {
 public:
  static int Run(int argc, char** argv);
};

}  // namespace quillet
