// Timing the course from process start to its first page.
#pragma once

#include <memory>
#include <string>

namespace bench {

// Milliseconds after the process was started: main() entered, first page shown, first painted.
struct StartUp {
  double entered = 0, shown = 0, painted = 0;
};
// The course's main() run in a fresh child process on the offscreen platform.
StartUp TimeStartUpInProcess();

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
