#include <algorithm>
#include <cstdio>
#include <ctime>
#include <stdexcept>

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

const std::vector<std::string>& Misses() {
  return misses;
}

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
  // Where every navigation button leads; a pair of pages joined by two buttons (Back and Menu
  // on Form18, Back and Index on Form5) is one edge, taken by the first of them.
  static const std::vector<Edge> edges = [] {
    std::vector<Edge> e = {
        {"Form16", "Form17", "", {}},        {"Form17", "Form18", "Command1", {}},
        {"Form17", "Form2", "Command3", {}}, {"Form18", "Form17", "Back", {}},
        {"Form18", "Form19", "Next", {}},    {"Form19", "Form18", "Back", {}},
        {"Form19", "Form20", "Next", {}},    {"Form19", "Form17", "Menu", {}},
        {"Form20", "Form19", "Back", {}},    {"Form20", "Form21", "Next", {}},
        {"Form20", "Form17", "Menu", {}},    {"Form21", "Form20", "Back", {}},
        {"Form21", "Form22", "Next", {}},    {"Form21", "Form17", "Menu", {}},
        {"Form22", "Form21", "Back", {}},    {"Form22", "Form17", "Menu", {}},
        {"Form2", "Form16", "Back", {}},     {"Form2", "Form3", "Next", {}},
        {"Form2", "Form17", "Menu", {}},     {"Form3", "Form2", "Back", {}},
        {"Form3", "Form4", "Next", {}},      {"Form3", "Form17", "Menu", {}},
        {"Form4", "Form3", "Back", {}},      {"Form4", "Form17", "Menu", {}},
    };
    static const std::string_view kIllusions[] = {"Form5",  "Form6",  "Form7",  "Form8",  "Form9",
                                                  "Form10", "Form11", "Form12", "Form13", "Form14"};
    for (int k = 0; k < 10; ++k) e.push_back({"Form4", kIllusions[k], "image", k});
    for (int k = 0; k < 10; ++k) {
      const std::string_view page = kIllusions[k];
      e.push_back({page, k == 0 ? "Form4" : kIllusions[k - 1], "Back", {}});
      if (k < 9) e.push_back({page, kIllusions[k + 1], "Next", {}});
      e.push_back({page, "Form17", "Menu", {}});
      if (k > 0) e.push_back({page, "Form4", "Index", {}});
    }
    return e;
  }();
  return edges;
}

}  // namespace bench
