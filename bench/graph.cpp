#include <algorithm>
#include <cstdio>
#include <ctime>
#include <stdexcept>

#include "app/coursemap.h"
#include "bench/bench.h"

namespace bench {

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  const std::size_t mid = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid), values.end());
  const double upper = values[mid];
  if (values.size() % 2 != 0) return upper;
  return (upper +
          *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid))) /
         2;
}

double Max(const std::vector<double>& values) {
  return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

namespace {
std::vector<std::string> misses;
}

void Check(bool met, const std::string& what) {
  if (!met) misses.push_back(what);
}

const std::vector<std::string>& Misses() { return misses; }

ThreadTimes ReadThreadTimes() {
  ThreadTimes t;
  timespec cpu{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
  t.running = std::chrono::seconds(cpu.tv_sec) + std::chrono::nanoseconds(cpu.tv_nsec);
  if (std::FILE* f = std::fopen("/proc/thread-self/schedstat", "r")) {
    unsigned long long running = 0, waiting = 0;
    if (std::fscanf(f, "%llu %llu", &running, &waiting) == 2)
      t.waiting = std::chrono::nanoseconds(waiting);
    std::fclose(f);
  }
  return t;
}

std::string Edge::Name() const {
  std::string control_name = control.empty() ? std::string("press") : std::string(control);
  if (index) control_name += "(" + std::to_string(*index) + ")";
  return std::string(from) + ">" + std::string(to) + ":" + control_name;
}

const std::vector<Edge>& Edges() {
  // A pair of pages joined by two buttons (Back and Menu on Form18, Back and Index on Form5) is
  // one edge, taken by the first of them.
  static const std::vector<Edge> edges = [] {
    std::vector<Edge> e;
    for (const shell::PageEntry& page : app::Course())
      for (const shell::Edge& way : page.edges) {
        const auto same = [&](const Edge& x) {
          return x.from == page.Name() && x.to == way.target;
        };
        if (std::any_of(e.begin(), e.end(), same)) continue;
        const std::string_view control =
            way.Control() == "Form" ? std::string_view() : way.Control();
        e.push_back({page.Name(), way.target, control, way.index});
      }
    return e;
  }();
  return edges;
}

}  // namespace bench
