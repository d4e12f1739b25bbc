// lumora_bench: one table of the course's speed and memory, each figure held against its target.
// Page switching, building pages and reading pictures run here, offscreen; start-up and memory
// run in fresh child processes (this executable again, or the real course under Xvfb).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <thread>

#include "app/coursemap.h"
#include "bench/bench.h"
#include "bench/startup.h"
#include "bench/sweep.h"
#include "content/assets.h"
#include "pagedesc/pagedesc.h"
#include "shell/picturefile.h"

namespace bench {

void RegisterAnimation();  // bench/animation.cpp

namespace {

// The targets. Those that time the course's own work are stated for the machine they were set
// on, whose calibration page took kCalibrationMs (2 processors of a Xeon under KVM, at rest, on
// 8 December 2026), and scaled by this machine's pace (Pace()); the real-time ones, the sweep's
// and the animation's pace and the window mapped by a real X server, are not. Each is about one
// and a half times what the course took there, so that a change that costs half as much again
// misses it.
constexpr double kCalibrationMs = 0.275;
constexpr double kPaceMin = 0.5, kPaceMax = 2;  // beyond these the machine is not judged
constexpr double kSwitchMedianMs = 1.4;         // each edge (there: 0.55 to 0.90 ms)
constexpr double kSwitchAllMedianMs = 0.85;     // every switch along every edge (there: 0.59 ms)
// The first switch along an edge too (there: 2 to 3 ms, now and then 7 to 12 ms, which a
// neighbour taking the processor from under the virtual machine adds to its own time).
constexpr double kSwitchMaxMs = 12;
constexpr double kPaintedMs = 40;   // from main() to the first page painted (there: 22 ms)
constexpr double kStartUpMs = 300;  // from the process start to the window mapped (Xvfb)
// The peak is mostly Qt's, the fonts' and the C library's: the same course measured 57.9 MiB on
// the Debian 12 machine it was first measured on and 60.8 MiB on a freshly installed one. What a
// leak or a cache that grows would change is the growth over 1,000 switches, held below.
constexpr double kPeakMiB = 64;
constexpr double kFlatMiB = 1;        // peak growth over 1,000 switches
constexpr double kFlatHeapKiB = 256;  // heap in use, grown over 1,000 switches
constexpr double kSweepSeconds = 4, kSweepTolerance = 0.10;
constexpr double kSweepGapMs = 20;
constexpr unsigned kSweepMoves = 4141;
// A switch at 200 % or full screen paints four or six times the designed window's pixels, so it
// is held to a time of its own, not to a share of the designed one's (there: 1.40 to 1.92 ms and
// 1.77 to 2.36 ms; a picture resampled at every paint once made a full-screen switch 3.4 ms).
constexpr double kScaledMedianMs = 2.4;      // at 200 %, on a 2560 x 1600 screen
constexpr double kFullScreenMedianMs = 3.0;  // full screen on a 1920 x 1080 one

// How often each figure is taken.
constexpr int kSwitchRuns = 30;
constexpr int kStartRuns = 20;
constexpr int kSweepRuns = 3;

std::unique_ptr<Driver> shared;
// Every switch timed, along every edge, for the row over them all.
std::vector<double> allSwitches;
double allOwnMax = 0;

Driver& Course() {
  if (!shared) {
    shared = std::make_unique<Driver>();
    shared->Start();
  }
  return *shared;
}

std::string Fixed(double v, int decimals = 2) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, v);
  return buffer;
}

// How much longer than the targets' machine this one takes for the same work.
double Pace() { return CalibrationMs() / kCalibrationMs; }
bool PaceJudged() { return Pace() >= kPaceMin && Pace() <= kPaceMax; }
// A target for the course's own work, on this machine.
double HereMs(double ms) { return ms * std::clamp(Pace(), kPaceMin, kPaceMax); }

// Records the verdict and shows it in the row's label.
void Verdict(benchmark::State& state, bool met, const std::string& row, const std::string& target) {
  Check(met, row + ": " + target);
  state.SetLabel((met ? "met: " : "MISSED: ") + target);
}

void Fail(benchmark::State& state, const std::string& row, const std::exception& e) {
  Check(false, row + ": " + e.what());
  state.SkipWithError(e.what());
}

// Runs first: the pace the timing targets below are scaled by.
void MachinePace(benchmark::State& state) {
  for (auto _ : state) state.SetIterationTime(CalibrationMs() / 1000);
  state.counters["calibration_ms"] = CalibrationMs();
  state.counters["pace"] = Pace();
  Verdict(state, PaceJudged(), "Machine pace",
          Fixed(kPaceMin, 1) + " to " + Fixed(kPaceMax, 1) + " x the targets' machine (" +
              Fixed(kCalibrationMs, 3) + " ms): timing targets x " + Fixed(Pace()));
}

// The time the pupil waits, from the click to the new page painted.
void SwitchPage(benchmark::State& state, Edge edge) {
  std::vector<double> wall, own;
  try {
    Driver& course = Course();
    for (auto _ : state) {
      const Driver::Timing t = course.TimeEdge(edge);
      state.SetIterationTime(Seconds(t.wall));
      wall.push_back(Ms(t.wall));
      own.push_back(Ms(t.own));
    }
  } catch (const std::exception& e) {
    return Fail(state, edge.Name(), e);
  }
  const double median = Median(wall), max = Max(own);
  allSwitches.insert(allSwitches.end(), wall.begin(), wall.end());
  allOwnMax = std::max(allOwnMax, max);
  state.counters["median_ms"] = median;
  state.counters["first_ms"] = wall.front();
  state.counters["max_ms"] = Max(wall);
  state.counters["own_max_ms"] = max;
  Verdict(state, median <= HereMs(kSwitchMedianMs) && max <= HereMs(kSwitchMaxMs),
          "SwitchPage " + edge.Name(),
          "median <= " + Fixed(HereMs(kSwitchMedianMs)) +
              " ms, own max <= " + Fixed(HereMs(kSwitchMaxMs), 1) + " ms");
}

// The edges' switches together; runs after them (and measures nothing itself).
void SwitchAll(benchmark::State& state) {
  for (auto _ : state) state.SetIterationTime(0);
  if (allSwitches.empty()) return Fail(state, "SwitchPage all", std::runtime_error("no switches"));
  const double median = Median(allSwitches);
  state.counters["median_ms"] = median;
  state.counters["own_max_ms"] = allOwnMax;
  state.counters["switches"] = static_cast<double>(allSwitches.size());
  Verdict(state, median <= HereMs(kSwitchAllMedianMs) && allOwnMax <= HereMs(kSwitchMaxMs),
          "SwitchPage all",
          "median <= " + Fixed(HereMs(kSwitchAllMedianMs)) +
              " ms over every switch, own max <= " + Fixed(HereMs(kSwitchMaxMs), 1) + " ms");
}

// The same switches at 200 % or full screen, in a child process, against every switch above.
void SwitchScaled(benchmark::State& state, bool fullScreen) {
  const std::string row = fullScreen ? "SwitchPage full screen" : "SwitchPage 200 %";
  ScaledSwitches f;
  try {
    for (auto _ : state) {
      f = TimeScaledSwitches(fullScreen);
      state.SetIterationTime(f.median / 1000);
    }
  } catch (const std::exception& e) {
    return Fail(state, row, e);
  }
  const double target = HereMs(fullScreen ? kFullScreenMedianMs : kScaledMedianMs);
  state.counters["median_ms"] = f.median;
  state.counters["own_median_ms"] = f.ownMedian;
  state.counters["max_ms"] = f.max;
  state.counters["own_max_ms"] = f.ownMax;
  state.counters["switches"] = f.switches;
  state.counters["density"] = f.density;
  state.counters["peak_MiB"] = f.peakMiB;
  // Beside it, the designed window's figure of the same run, for scale.
  std::string beside = "no switches at 100 % to compare with";
  if (const double designed = allSwitches.empty() ? 0 : Median(allSwitches); designed > 0) {
    state.counters["of_100_percent"] = f.median / designed;
    beside = "100 %: " + Fixed(designed) + " ms, this " + Fixed(f.median / designed, 1) + " x";
  }
  Verdict(state, f.median <= target, row, "median <= " + Fixed(target) + " ms (" + beside + ")");
}

void BuildPage(benchmark::State& state, const pagedesc::PageDescription* description) {
  const std::string_view name = description->name;
  QString failure;
  for (auto _ : state) {
    const Clock::time_point t0 = Clock::now();
    auto* page = new forms::Page(*description, [&](const QString& m) { failure = m; });
    state.SetIterationTime(Seconds(Clock::now() - t0));
    delete page;
  }
  if (!failure.isEmpty())
    Fail(state, "BuildPage " + std::string(name), std::runtime_error(failure.toStdString()));
}

void LoadAssetPicture(benchmark::State& state, std::string_view asset) {
  try {
    const shell::Course& course = Course().Course();
    for (auto _ : state) {
      forms::Picture picture = course.LoadAssetPicture(asset);
      benchmark::DoNotOptimize(picture);
    }
  } catch (const std::exception& e) {
    return Fail(state, "LoadAssetPicture " + std::string(asset), e);
  }
}

// What a load costs when the file's bytes are new to the course: read, checked and decoded.
void DecodePicture(benchmark::State& state, std::string_view asset) {
  try {
    const QString path = Course().Course().AssetPath(asset);
    for (auto _ : state) {
      QPixmap pixmap = QPixmap::fromImage(shell::ReadPictureFile(path));
      benchmark::DoNotOptimize(pixmap);
    }
  } catch (const std::exception& e) {
    return Fail(state, "DecodePicture " + std::string(asset), e);
  }
}

void StartUpOffscreen(benchmark::State& state) {
  std::vector<double> entered, shown, painted, fromMain, press, late, warming, slice;
  try {
    int run = 0;
    for (auto _ : state) {
      // Every other run presses 100 ms after the first paint instead of at once.
      const bool later = run++ % 2 == 1;
      const StartUp s = TimeStartUpInProcess(later);
      state.SetIterationTime(s.painted / 1000);
      entered.push_back(s.entered);
      shown.push_back(s.shown);
      painted.push_back(s.painted);
      fromMain.push_back(s.painted - s.entered);
      (later ? late : press).push_back(s.press);
      if (!later) warming.push_back(s.warming);
      slice.push_back(s.slice);
    }
  } catch (const std::exception& e) {
    return Fail(state, "StartUp offscreen", e);
  }
  state.counters["main_ms"] = Median(entered);
  state.counters["shown_ms"] = Median(shown);
  state.counters["median_ms"] = Median(painted);
  state.counters["max_ms"] = Max(painted);
  state.counters["main_to_painted_ms"] = Median(fromMain);
  state.counters["press_ms"] = Median(press);
  state.counters["press_max_ms"] = Max(press);
  state.counters["press_late_ms"] = Median(late);
  state.counters["press_late_max_ms"] = Max(late);
  state.counters["warm_ms"] = Median(warming);
  state.counters["slice_max_ms"] = Max(slice);
  Verdict(
      state, Median(fromMain) <= HereMs(kPaintedMs), "StartUp offscreen",
      "median <= " + Fixed(HereMs(kPaintedMs), 1) + " ms from main() to the first page painted");
}

void StartUpXvfb(benchmark::State& state) {
  std::vector<double> mapped;
  try {
    XServer server;
    for (auto _ : state) {
      const double t = server.TimeToWindow(LUMORA_EXECUTABLE);
      state.SetIterationTime(t / 1000);
      mapped.push_back(t);
    }
  } catch (const std::exception& e) {
    return Fail(state, "StartUp Xvfb", e);
  }
  state.counters["median_ms"] = Median(mapped);
  state.counters["max_ms"] = Max(mapped);
  Verdict(state, Median(mapped) <= kStartUpMs, "StartUp Xvfb",
          "median <= " + Fixed(kStartUpMs, 0) + " ms to the window mapped");
}

// atScale: the same at 200 %, shown, not held against the targets.
void Memory(benchmark::State& state, bool atScale) {
  MemoryFigures walk, after;
  int switches = 0;
  try {
    for (auto _ : state) {
      const Clock::time_point t0 = Clock::now();
      std::istringstream out(
          RunChild("memory", nullptr, atScale ? AtScaleFactor2() : Environment()));
      state.SetIterationTime(Seconds(Clock::now() - t0));
      std::string word;
      while (out >> word) {
        MemoryFigures* m = word == "walk" ? &walk : word == "after" ? &after : nullptr;
        if (m) out >> m->peakMiB >> m->residentMiB >> m->heapKiB >> m->widgets;
        if (word == "switches") out >> switches;
      }
    }
  } catch (const std::exception& e) {
    return Fail(state, "Memory", e);
  }
  if (switches == 0) return Fail(state, "Memory", std::runtime_error("no figures from the child"));
  state.counters["walk_MiB"] = walk.peakMiB;
  state.counters["peak_MiB"] = after.peakMiB;
  state.counters["grown_MiB"] = after.peakMiB - walk.peakMiB;
  state.counters["heap_grown_KiB"] = after.heapKiB - walk.heapKiB;
  state.counters["widgets_grown"] = after.widgets - walk.widgets;
  state.counters["switches"] = switches;
  if (atScale) return state.SetLabel("at 200 %");
  const bool flat = after.peakMiB - walk.peakMiB <= kFlatMiB &&
                    after.heapKiB - walk.heapKiB <= kFlatHeapKiB && after.widgets == walk.widgets;
  Verdict(state, after.peakMiB <= kPeakMiB && flat, "Memory",
          "peak <= " + Fixed(kPeakMiB, 0) + " MiB; over 1000 switches peak +" + Fixed(kFlatMiB, 0) +
              " MiB, heap +" + Fixed(kFlatHeapKiB, 0) + " KiB, no widget left");
}

// The course folder with the pictures' finer drawings, and the package if one is built.
void PackageSize(benchmark::State& state) {
  FolderSize size;
  for (auto _ : state) size = MeasureFolder();
  state.counters["pictures_KiB"] = size.picturesKiB;
  state.counters["variants_KiB"] = size.variantsKiB;
  state.counters["folder_KiB"] = size.folderKiB;
  if (size.packageKiB > 0) state.counters["deb_KiB"] = size.packageKiB;
  state.SetLabel(size.packageKiB > 0 ? "course folder and .deb" : "course folder (no .deb built)");
}

void Sweep(benchmark::State& state) {
  std::vector<double> seconds, gaps;
  unsigned unseen = 0;
  bool allMoves = true;
  try {
    Driver& course = Course();
    for (auto _ : state) {
      SweepFigures f = MeasureLeftSweep(course);
      state.SetIterationTime(f.seconds);
      seconds.push_back(f.seconds);
      gaps.insert(gaps.end(), f.gaps.begin(), f.gaps.end());
      unseen += f.unseen;
      allMoves = allMoves && f.moves == kSweepMoves;
    }
  } catch (const std::exception& e) {
    return Fail(state, "Sweep Left", e);
  }
  const double total = Median(seconds), gapMax = Max(gaps);
  state.counters["total_s"] = total;
  state.counters["gap_median_ms"] = Median(gaps);
  state.counters["gap_max_ms"] = gapMax;
  state.counters["unseen_moves"] = unseen;
  if (!allMoves) Check(false, "Sweep Left: not " + std::to_string(kSweepMoves) + " moves");
  Verdict(state,
          allMoves && std::abs(total - kSweepSeconds) <= kSweepSeconds * kSweepTolerance &&
              gapMax <= kSweepGapMs,
          "Sweep Left",
          Fixed(kSweepSeconds, 0) + " s +-" + Fixed(kSweepTolerance * 100, 0) + " %, no gap > " +
              Fixed(kSweepGapMs, 0) + " ms, " + std::to_string(kSweepMoves) + " moves");
}

// The machine's load average over the last minute, as the kernel counts it; -1 where unknown.
double LoadAverage() {
  double load = -1;
  if (std::FILE* f = std::fopen("/proc/loadavg", "r")) {
    if (std::fscanf(f, "%lf", &load) != 1) load = -1;
    std::fclose(f);
  }
  return load;
}

void RegisterAll() {
  using benchmark::kMicrosecond;
  using benchmark::kMillisecond;
  benchmark::RegisterBenchmark("Machine/pace", MachinePace)
      ->UseManualTime()
      ->Iterations(1)
      ->Unit(kMillisecond);
  for (const Edge& edge : Edges())
    benchmark::RegisterBenchmark(("SwitchPage/" + edge.Name()).c_str(), SwitchPage, edge)
        ->UseManualTime()
        ->Iterations(kSwitchRuns)
        ->Unit(kMillisecond);
  benchmark::RegisterBenchmark("SwitchPage/all", SwitchAll)
      ->UseManualTime()
      ->Iterations(1)
      ->Unit(kMillisecond);
  for (const auto& [name, fullScreen] :
       {std::pair{"SwitchPage/200%", false}, std::pair{"SwitchPage/full screen 1920x1080", true}})
    benchmark::RegisterBenchmark(name, SwitchScaled, fullScreen)
        ->UseManualTime()
        ->Iterations(1)
        ->Unit(kMillisecond);
  for (const shell::PageEntry& page : app::Course())
    benchmark::RegisterBenchmark(("BuildPage/" + std::string(page.Name())).c_str(), BuildPage,
                                 &page.description)
        ->UseManualTime()
        ->MinTime(0.1)
        ->Unit(kMicrosecond);
  for (std::string_view asset : content::kPictures)
    benchmark::RegisterBenchmark(("LoadAssetPicture/" + std::string(asset.substr(1))).c_str(),
                                 LoadAssetPicture, asset)
        ->MinTime(0.1)
        ->Unit(kMicrosecond);
  for (std::string_view asset : content::kPictures)
    benchmark::RegisterBenchmark(("DecodePicture/" + std::string(asset.substr(1))).c_str(),
                                 DecodePicture, asset)
        ->MinTime(0.1)
        ->Unit(kMicrosecond);
  benchmark::RegisterBenchmark("StartUp/offscreen", StartUpOffscreen)
      ->UseManualTime()
      ->Iterations(kStartRuns)
      ->Unit(kMillisecond);
  if (XServer::Available())
    benchmark::RegisterBenchmark("StartUp/Xvfb", StartUpXvfb)
        ->UseManualTime()
        ->Iterations(kStartRuns)
        ->Unit(kMillisecond);
  for (const auto& [name, atScale] :
       {std::pair{"Memory/walk+1000", false}, std::pair{"Memory/200%+walk+1000", true}})
    benchmark::RegisterBenchmark(name, Memory, atScale)
        ->UseManualTime()
        ->Iterations(1)
        ->Unit(kMillisecond);
  benchmark::RegisterBenchmark("Package/size", PackageSize)->Iterations(1);
  benchmark::RegisterBenchmark("Sweep/Left", Sweep)
      ->UseManualTime()
      ->Iterations(kSweepRuns)
      ->Unit(kMillisecond);
  RegisterAnimation();
}

}  // namespace

}  // namespace bench

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--child=startup") == 0 ||
        std::strcmp(argv[i], "--child=startup-late") == 0)
      return bench::StartUpChild(argc, argv);
    if (std::strcmp(argv[i], "--child=memory") == 0) return bench::MemoryChild(argc, argv);
    if (std::strcmp(argv[i], "--child=scaled") == 0 ||
        std::strcmp(argv[i], "--child=full-screen") == 0)
      return bench::ScaledChild(argc, argv);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  // Headless, here and in the child processes, which inherit the environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    const QString runtime =
        QDir::tempPath() + QStringLiteral("/runtime-lumora-bench-%1").arg(getuid());
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
  }
  QApplication app(argc, argv);
  bench::PrepareApplication();
  bench::RegisterAll();
  // Figures taken while other programs keep the processors busy are slower: the load is printed
  // with them, for the table to be read by.
  const double loadBefore = bench::LoadAverage();
  benchmark::RunSpecifiedBenchmarks();
  bench::shared.reset();
  benchmark::Shutdown();
  std::printf(
      "\nLoad average over a minute: %.2f at the start, %.2f at the end, on %u processors.\n",
      loadBefore, bench::LoadAverage(), std::thread::hardware_concurrency());

  if (bench::Misses().empty()) {
    std::printf("\nEvery target met.\n");
    return 0;
  }
  std::printf("\nTargets missed:\n");
  for (const std::string& miss : bench::Misses()) std::printf("  %s\n", miss.c_str());
  return 1;
}
