// Timing the course from process start to its first page.
#pragma once

#include <memory>
#include <string>

namespace bench {

// Milliseconds after the process was started: main() entered, first page shown, first painted.
// Then, as a pupil pressing on the title page the moment it appears, before any font is warmed:
// the milliseconds from the press to the menu painted; and the warming that follows in the idle
// time, its length in all and its longest slice (the longest pass of the event loop).
struct StartUp {
  double entered = 0, shown = 0, painted = 0;
  double press = 0, warming = 0, slice = 0;
};
// The course's main() run in a fresh child process on the offscreen platform; late: the press
// comes 100 ms after the first paint instead of at once.
StartUp TimeStartUpInProcess(bool late);

// A private Xvfb server for the black-box runs of the real executable.
class XServer {
 public:
  XServer();
  ~XServer();
  static bool Available();
  // Starts the executable and returns the milliseconds until its window is mapped; then ends it.
  double TimeToWindow(const std::string& executable);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace bench
