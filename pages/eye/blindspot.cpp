// The blind-spot test: one mark creeps across the page while the pupil fixes the other with one
// eye; it vanishes for a moment while its image falls on the blind spot.
#include <chrono>
#include <cstdint>

#include "content/assets.h"
#include "content/texts.h"
#include "forms/accessibility.h"
#include "forms/inputhold.h"
#include "forms/page.h"
#include "pages/lesson.h"
#include "pages/pages.h"
#include "shell/course.h"

namespace pages {

using namespace content;

namespace {

// A Left sweep (4141 moves) lasts about four seconds whatever the machine.
constexpr std::chrono::nanoseconds kStepPause = std::chrono::nanoseconds(4'000'000'000 / 4141);

struct SweepOf {
  const char* marker;
  std::int16_t start, last, step;  // page units
  std::string_view starts, stops;  // what the pupil's screen reader says then
};

// Moves the marker one page unit at a time from start to last. The window keeps painting, and
// whatever the pupil does meanwhile waits until the sweep has ended; a screen reader says when
// it starts and when it ends.
void Sweep(const shell::Event& e, const SweepOf& s) {
  forms::ImageBox& image = e.me.ImageNamed(QString::fromLatin1(s.marker));
  const auto pause =
      std::chrono::duration_cast<std::chrono::nanoseconds>(kStepPause * e.course.TimeScale());
  const int count = (s.last - s.start) / s.step + 1;
  forms::Announce(e.me, Text(s.starts));
  forms::TakeHeldSteps(
      image, count, pause, [&image, &s](int i) { image.Move(s.start + i * s.step, image.Top()); },
      [&page = e.me, &s] { forms::Announce(page, Text(s.stops)); }, e.me.Sink());
}

}  // namespace

shell::Handlers BlindSpot() {
  // clang-format off
  static const Lesson kPage{{}, {{"Label1", kEyeStructureTitle}, {"Label2", kRightEyeInstruction},
                                 {"Label3", kLeftEyeInstruction}},
                                {{"Image1", kRealEye}, {"Image2", kSpot}, {"Image3", kTen}}};
  // clang-format on
  static const SweepOf kLeft{"Image3", 360, 4500, +1, kCrossStartsMoving, kCrossStopped};
  static const SweepOf kRight{"Image2", 9070, 5200, -1, kDotStartsMoving, kDotStopped};
  shell::Handlers handlers = LessonPage(kPage);
  handlers.push_back({"Left_Click", [](const shell::Event& e) { Sweep(e, kLeft); }});
  handlers.push_back({"Right_Click", [](const shell::Event& e) { Sweep(e, kRight); }});
  return handlers;
}

}  // namespace pages
