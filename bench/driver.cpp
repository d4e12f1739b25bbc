#include <malloc.h>

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <algorithm>
#include <stdexcept>

#include "app/coursemap.h"
#include "bench/bench.h"
#include "shell/prepare.h"

namespace bench {

namespace {

// How long a page may take to appear before the benchmark gives up on it.
constexpr auto kPaintTimeout = std::chrono::seconds(5);

}  // namespace

QString CourseFolder() {
  const QByteArray bin = qgetenv("LUMORA_BIN");
  return bin.isEmpty() ? QStringLiteral(LUMORA_COURSE_DIR) : QString::fromLocal8Bit(bin);
}

void PrepareApplication() { shell::PrepareApplication(app::Course()); }

// --- PaintWatch ---

PaintWatch::PaintWatch() { QCoreApplication::instance()->installEventFilter(this); }

PaintWatch::~PaintWatch() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

void PaintWatch::Watch(QWidget* window) {
  window_ = window;
  painted_ = false;
}

bool PaintWatch::eventFilter(QObject* receiver, QEvent* event) {
  if (event->type() == QEvent::Paint && window_ && receiver == window_.data()) painted_ = true;
  return false;
}

// --- Driver ---

Driver::Driver() {
  shell::Environment env;
  env.folder = CourseFolder();
  env.report = [this](const QString& message) { reports_ << message; };
  env.end = [this](int status) { status_ = status; };
  course_ = std::make_unique<shell::Course>(std::move(env), app::Course());
}

Driver::~Driver() {
  course_.reset();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

forms::Page& Driver::Page() {
  if (!course_->Current()) throw std::runtime_error("no page is loaded");
  return *course_->Current();
}

std::string Driver::PageName() const {
  return course_->Current() ? course_->Current()->Name().toStdString() : std::string();
}

void Driver::CheckHealthy(std::string_view where) {
  if (!reports_.isEmpty())
    throw std::runtime_error(std::string(where) + ": " + reports_.join('\n').toStdString());
  if (status_) throw std::runtime_error(std::string(where) + ": the course ended");
}

void Driver::Start() {
  course_->Start();
  CheckHealthy("start-up");
  Settle();
}

void Driver::GoTo(std::string_view page) {
  if (PageName() == page) return;
  course_->SwitchPage(Page(), page);
  CheckHealthy(page);
  Settle();
}

void Driver::Follow(const Edge& edge) {
  forms::Page& page = Page();
  if (edge.control.empty())
    page.Raise(QStringLiteral("Form_MouseDown"));
  else
    page.ButtonNamed(QUtf8StringView(edge.control).toString(), edge.index).click();
  CheckHealthy(edge.Name());
  Settle();
  if (PageName() != edge.to) throw std::runtime_error(edge.Name() + " led to " + PageName());
}

Driver::Timing Driver::TimeEdge(const Edge& edge) {
  GoTo(edge.from);
  const ThreadTimes s0 = ReadThreadTimes();
  const Clock::time_point t0 = Clock::now();
  Follow(edge);
  const Clock::duration wall = Clock::now() - t0;
  const ThreadTimes s1 = ReadThreadTimes();
  return {wall, wall - std::min(wall, s1.waiting - s0.waiting)};
}

void Driver::Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  forms::Page& page = Page();
  paint_.Watch(&page);
  const Clock::time_point deadline = Clock::now() + kPaintTimeout;
  while (!paint_.Painted()) {
    if (Clock::now() > deadline) throw std::runtime_error(PageName() + " was not painted");
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
}

// --- process figures ---

MemoryFigures ReadMemory() {
  MemoryFigures m;
  QFile status(QStringLiteral("/proc/self/status"));
  if (status.open(QIODevice::ReadOnly)) {
    for (const QByteArray& line : status.readAll().split('\n')) {
      const auto kib = [&](const char* key) {
        return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toDouble();
      };
      if (line.startsWith("VmHWM:")) m.peakMiB = kib("VmHWM:") / 1024;
      if (line.startsWith("VmRSS:")) m.residentMiB = kib("VmRSS:") / 1024;
    }
  }
  const struct mallinfo2 heap = mallinfo2();
  m.heapKiB = static_cast<double>(heap.uordblks + heap.hblkhd) / 1024;
  m.widgets = static_cast<int>(QApplication::allWidgets().size());
  return m;
}

}  // namespace bench
