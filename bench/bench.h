// What the benchmarks share: the course driven in this process, the page graph, figures and the
// targets they are held against, and the child processes that start from scratch.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "forms/page.h"
#include "shell/course.h"

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }
inline double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// --- figures ---

double Median(std::vector<double> values);
double Max(const std::vector<double>& values);

// Remembers every missed target; main() prints them after the table and fails.
void Check(bool met, const std::string& what);
const std::vector<std::string>& Misses();

// Time this thread spent running, and waiting for a processor while ready to run (the machine
// being busy with something else), from the scheduler's own count.
struct ThreadTimes {
  Clock::duration running{}, waiting{};
};
ThreadTimes ReadThreadTimes();

// How long this machine takes for a page of plain Qt widgets, made, painted and deleted: the
// median of the fastest of several batches (bench/calibrate.cpp), measured once.
double CalibrationMs();

// --- the page graph ---

// One way from a page to another: a button (with its index in a control array) or, with no
// control, a mouse press on the page itself.
struct Edge {
  std::string_view from;
  std::string_view to;
  std::string_view control;
  std::optional<int> index;
  std::string Name() const;
};
// Every pair of pages joined by a button, once each.
const std::vector<Edge>& Edges();

// --- the course in this process ---

// The folder of the built course (the executable and its pictures).
QString CourseFolder();

// Notes the first paint of one window.
class PaintWatch final : public QObject {
 public:
  PaintWatch();
  ~PaintWatch() override;
  void Watch(QWidget* window);
  bool Painted() const { return painted_; }

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override;

 private:
  QPointer<QWidget> window_;
  bool painted_ = false;
};

// The real course with the real pages, reading the built course folder, with an outside world
// that records failures and the end instead of showing message boxes and ending the process.
class Driver {
 public:
  Driver();
  ~Driver();

  shell::Course& Course() { return *course_; }
  forms::Page& Page();
  std::string PageName() const;

  // Start-up: the first page, loaded, shown and painted.
  void Start();
  // Straight to a page, as its SwitchPage from the current one.
  void GoTo(std::string_view page);
  // The pupil takes the edge: its button (or a press on the page) switches to the next page.
  void Follow(const Edge& edge);
  // The edge taken from its first page, timed from the click to the new page painted. A long
  // switch is told apart from the machine being busy elsewhere: `own` leaves out the time this
  // thread waited for a processor while ready to run.
  struct Timing {
    Clock::duration wall{}, own{};
  };
  Timing TimeEdge(const Edge& edge);
  // What the event loop does once the handler has returned: the unloaded page is deleted, the
  // new one painted.
  void Settle();

 private:
  void CheckHealthy(std::string_view where);

  QStringList reports_;
  std::optional<int> status_;
  std::unique_ptr<shell::Course> course_;
  PaintWatch paint_;
};

// --- process figures ---

struct MemoryFigures {
  double peakMiB = 0;      // VmHWM
  double residentMiB = 0;  // VmRSS
  double heapKiB = 0;      // bytes handed out by malloc and not freed
  int widgets = 0;         // every QWidget alive
};
MemoryFigures ReadMemory();

// The child modes of this executable (lumora_bench --child=...): each starts from a fresh process.
int StartUpChild(int argc, char** argv);
int MemoryChild(int argc, char** argv);
int ScaledChild(int argc, char** argv);

// Runs this executable again in a child mode, on the offscreen platform and with the variables
// given (an empty value removes one); returns its standard output, and when given the time it
// was started.
using Environment = std::vector<std::pair<std::string, std::string>>;
std::string RunChild(const std::string& mode, Clock::time_point* started = nullptr,
                     const Environment& environment = {});

// Qt set-up of the course's main(): fonts and accessibility, no quit when the last window goes.
void PrepareApplication();

// --- the course shown larger ---

// A child's surroundings: Qt's scale factor 2 on a 2560 x 1600 screen; a 1920 x 1080 screen.
Environment AtScaleFactor2();
Environment OnProjector();

struct ScaledSwitches {
  int switches = 0;
  double median = 0, max = 0, ownMax = 0;  // milliseconds
  double ownMedian = 0;                    // the waits for a processor left out
  double density = 0;                      // of the last page: screen pixels per designed one
  double peakMiB = 0;                      // of the process, at the end
};
// Every edge ten times in a fresh process, at 200 % or full screen on the 1920 x 1080 screen.
ScaledSwitches TimeScaledSwitches(bool fullScreen);

// The course folder: its pictures as designed, their finer drawings, all of it; and the Debian
// package, if one has been built.
struct FolderSize {
  double picturesKiB = 0, variantsKiB = 0, folderKiB = 0, packageKiB = 0;
};
FolderSize MeasureFolder();

}  // namespace bench
