// What the course and the animation program settle before their window system starts: the
// command line, and whether a display can be opened at all. Both come before QApplication,
// which would open the display first, and without one ends in an abort and a core dump.
#pragma once

#include <optional>

namespace launch {

// What the course's command line asks for.
struct CommandLine {
  // The status to end with at once (--help or --version answered, an argument refused), or
  // nothing when the course goes on.
  std::optional<int> status;
  bool fullScreen = false;  // -f, --full-screen: the course opens full screen, as F11 makes it
};

// Answers --help and --version, takes --full-screen, lets Qt's own options through, and refuses
// anything else (one line on standard error, status 2).
CommandLine ReadCommandLine(int argc, char** argv);

// Whether the window system Qt will choose (its -platform and -display options and
// QT_QPA_PLATFORM count) can be reached. If none can, says so in one line on standard error,
// naming the variables tried, and gives the status 1 to end with.
std::optional<int> RequireDisplay(int argc, char** argv);

}  // namespace launch
