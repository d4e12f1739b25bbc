// Memory from a fresh process: every page walked once, then 1,000 switches along the edges.
#include <QApplication>
#include <cstdio>

#include "app/coursemap.h"
#include "bench/bench.h"

namespace bench {

namespace {

void Print(const char* when, const MemoryFigures& m) {
  std::printf("%s %.3f %.3f %.1f %d\n", when, m.peakMiB, m.residentMiB, m.heapKiB, m.widgets);
}

}  // namespace

int MemoryChild(int argc, char** argv) {
  QApplication app(argc, argv);
  PrepareApplication();
  try {
    Driver course;
    course.Start();
    // First every page once, and every edge once: the walk meets every page and every pair of
    // pages alive together (the page left is deleted only after the next one is shown).
    int switches = 0;
    const auto take = [&](const Edge& edge) {
      if (course.PageName() != edge.from) {
        course.GoTo(edge.from);
        ++switches;
      }
      course.Follow(edge);
      ++switches;
    };
    for (const shell::PageEntry& page : app::Course()) course.GoTo(page.Name());
    for (const Edge& edge : Edges()) take(edge);
    // Both figures are taken on the menu, so that the same page's widgets are alive.
    course.GoTo("Form17");
    Print("walk", ReadMemory());
    switches = 0;
    for (std::size_t i = 0; switches < 1000; ++i) take(Edges()[i % Edges().size()]);
    course.GoTo("Form17");
    Print("after", ReadMemory());
    std::printf("switches %d\n", switches);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  std::fflush(stdout);
  return 0;
}

}  // namespace bench
