// What the course and the animation program settle before their window system starts: the
// command line, and whether a display can be opened at all. Both come before QApplication,
// which would open the display first, and without one ends in an abort and a core dump.
#pragma once

#include <optional>

namespace launch {

// Answers --help and --version, lets Qt's own options through, and refuses anything else (one
// line on standard error). The status to end with at once, or nothing when the program goes on.
std::optional<int> AnswerCommandLine(int argc, char** argv);

// Whether the window system Qt will choose (its -platform and -display options and
// QT_QPA_PLATFORM count) can be reached. If none can, says so in one line on standard error,
// naming the variables tried, and gives the status 1 to end with.
std::optional<int> RequireDisplay(int argc, char** argv);

}  // namespace launch
