// The animation program's frame rate: its window turning on the offscreen platform in this
// process, every painted frame stamped. The spiral's angle follows the clock whatever the frame
// rate (the optical tests check that); this row tells whether the motion looks smooth.
#include <benchmark/benchmark.h>

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/bench.h"
#include "optical/spiralwindow.h"

namespace bench {

namespace {

constexpr double kMinFramesPerSecond = 40;
constexpr double kMaxGapMs = 50;  // three frames at 60 Hz
constexpr int kWatchMs = 3000;
constexpr int kRuns = 3;

struct FrameFigures {
  double perSecond = 0;
  std::vector<double> gaps;
};

FrameFigures WatchFrames() {
  SpiralWindow window;
  std::vector<Clock::time_point> stamps;
  stamps.reserve(1024);
  QObject::connect(&window, &SpiralWindow::framePainted,
                   [&stamps] { stamps.push_back(Clock::now()); });
  window.show();
  QEventLoop loop;
  QTimer::singleShot(kWatchMs, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
  window.hide();
  if (stamps.size() < 2) throw std::runtime_error("fewer than two frames painted");

  FrameFigures f;
  f.perSecond = double(stamps.size() - 1) / Seconds(stamps.back() - stamps.front());
  for (std::size_t i = 1; i < stamps.size(); ++i) f.gaps.push_back(Ms(stamps[i] - stamps[i - 1]));
  return f;
}

void AnimationFrames(benchmark::State& state) {
  std::vector<double> rates, gaps;
  try {
    for (auto _ : state) {
      const Clock::time_point t0 = Clock::now();
      FrameFigures f = WatchFrames();
      state.SetIterationTime(Seconds(Clock::now() - t0));
      rates.push_back(f.perSecond);
      gaps.insert(gaps.end(), f.gaps.begin(), f.gaps.end());
    }
  } catch (const std::exception& e) {
    Check(false, std::string("Animation/frames: ") + e.what());
    return state.SkipWithError(e.what());
  }
  const double rate = Median(rates), gapMax = Max(gaps);
  state.counters["frames_per_s"] = rate;
  state.counters["lowest_per_s"] = *std::min_element(rates.begin(), rates.end());
  state.counters["gap_median_ms"] = Median(gaps);
  state.counters["gap_max_ms"] = gapMax;
  const bool met = rate >= kMinFramesPerSecond && gapMax <= kMaxGapMs;
  char target[80];
  std::snprintf(target, sizeof target, "median >= %.0f frames/s, no gap > %.0f ms",
                kMinFramesPerSecond, kMaxGapMs);
  Check(met, std::string("Animation/frames: ") + target);
  state.SetLabel((met ? "met: " : "MISSED: ") + std::string(target));
}

}  // namespace

void RegisterAnimation() {
  benchmark::RegisterBenchmark("Animation/frames", AnimationFrames)
      ->UseManualTime()
      ->Iterations(kRuns)
      ->Unit(benchmark::kMillisecond);
}

}  // namespace bench
