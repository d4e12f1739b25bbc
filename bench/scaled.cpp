// The course shown larger: page changes at Qt's scale factor 2 and full screen on a 1920 x 1080
// screen, each in a fresh process (a scale factor holds for a whole process), against the
// designed window's; peak memory at 200 %; and what the finer drawings add to the course folder.
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScreen>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <stdexcept>

#include "bench/bench.h"
#include "content/assets.h"

namespace bench {

namespace {

constexpr int kRunsPerEdge = 10;

// The offscreen platform's screen, from a configuration file written once.
std::string Screen(int width, int height) {
  const QString path = QDir::temp().filePath(
      QStringLiteral("lumora-bench-screen-%1x%2-%3.json").arg(width).arg(height).arg(getpid()));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    throw std::runtime_error("cannot write " + path.toStdString());
  file.write(QStringLiteral("{\"screens\": [{\"name\": \"bench\", \"width\": %1, \"height\": %2}]}")
                 .arg(width)
                 .arg(height)
                 .toUtf8());
  return "offscreen:configfile=" + path.toStdString();
}

// Waits for the window to fill the screen after F11.
void FullScreen(Driver& course) {
  forms::Window& window = course.Course().Window();
  window.ToggleFullScreen();
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(5);
  while (window.size() != window.screen()->geometry().size()) {
    if (Clock::now() > deadline) throw std::runtime_error("the window did not fill the screen");
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
  course.Page().update();
  course.Settle();
}

}  // namespace

Environment AtScaleFactor2() {
  return {{"QT_SCALE_FACTOR", "2"}, {"QT_QPA_PLATFORM", Screen(2560, 1600)}};
}

Environment OnProjector() { return {{"QT_QPA_PLATFORM", Screen(1920, 1080)}}; }

ScaledSwitches TimeScaledSwitches(bool fullScreen) {
  std::istringstream out(RunChild(fullScreen ? "full-screen" : "scaled", nullptr,
                                  fullScreen ? OnProjector() : AtScaleFactor2()));
  ScaledSwitches figures;
  std::string word;
  out >> word >> figures.switches >> word >> figures.median >> word >> figures.max >> word >>
      figures.ownMax >> word >> figures.density >> word >> figures.peakMiB >> word >>
      figures.ownMedian;
  if (!out || figures.switches == 0) throw std::runtime_error("no figures from the child");
  return figures;
}

FolderSize MeasureFolder() {
  const QDir folder(CourseFolder());
  const auto kib = [&](const QString& name) {
    return QFileInfo(folder.filePath(name)).size() / 1024.0;
  };
  FolderSize size;
  for (std::string_view picture : content::kPictures) {
    size.picturesKiB += kib(QString::fromUtf8(picture.substr(1)));
    for (const int factor : content::kVariantFactors)
      size.variantsKiB +=
          kib(QString::fromStdString(content::VariantName(picture, factor).substr(1)));
  }
  for (const QString& name : folder.entryList(QDir::Files)) size.folderKiB += kib(name);
  // The Debian package, where `make package` has built one beside the course folder.
  QDir build(folder);
  build.cdUp();
  for (const QString& name : build.entryList({QStringLiteral("*.deb")}, QDir::Files))
    size.packageKiB = QFileInfo(build.filePath(name)).size() / 1024.0;
  return size;
}

// Every edge, kRunsPerEdge times, the course shown as the mode says; prints the figures.
int ScaledChild(int argc, char** argv) {
  const bool full = std::any_of(
      argv, argv + argc, [](const char* a) { return std::strcmp(a, "--child=full-screen") == 0; });
  QApplication app(argc, argv);
  PrepareApplication();
  try {
    Driver course;
    course.Start();
    if (full) FullScreen(course);
    std::vector<double> wall, own;
    for (const Edge& edge : Edges())
      for (int i = 0; i < kRunsPerEdge; ++i) {
        const Driver::Timing t = course.TimeEdge(edge);
        wall.push_back(Ms(t.wall));
        own.push_back(Ms(t.own));
      }
    std::printf(
        "switches %zu median %.4f max %.4f own_max %.4f density %.4f peak %.3f own_median %.4f\n",
        wall.size(), Median(wall), Max(wall), Max(own), course.Page().Density(),
        ReadMemory().peakMiB, Median(own));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  std::fflush(stdout);
  std::_Exit(0);
}

}  // namespace bench
