// The blind-spot test: one mark creeps across the page while the pupil fixes the other with one
// eye; it vanishes for a moment while its image falls on the blind spot.
#include <chrono>
#include <cstdint>

#include "content/assets.h"
#include "pages/common.h"
#include "forms/inputhold.h"
#include "pages/pages.h"
#include "content/texts.h"

namespace pages {

using namespace content;

namespace {

// A Left sweep (4141 moves) lasts about four seconds whatever the machine.
constexpr std::chrono::nanoseconds kStepPause = std::chrono::nanoseconds(4'000'000'000 / 4141);

// Moves the marker one page unit at a time from start to last. The window keeps painting, and
// whatever the pupil does meanwhile waits until the sweep has ended.
void Sweep(forms::Page& me, const QString& marker, std::int16_t start, std::int16_t last,
           std::int16_t step) {
  forms::ImageBox& image = me.ImageNamed(marker);
  forms::InputHold hold;
  for (std::int16_t x = start; step > 0 ? x <= last : x >= last; x += step) {
    image.Move(x, image.Top());
    hold.Pause(kStepPause);
  }
}

}  // namespace

void RegisterBlindSpot(shell::Course& course) {
  course.Register("Form21", {
      GoTo("Back_Click", "Form20"),
      {"Form_Load", [](const Event& e) {
         e.me.LabelNamed("Label1").SetCaption(Text(kEyeStructureTitle));
         e.me.LabelNamed("Label2").SetCaption(Text(kRightEyeInstruction));
         e.me.LabelNamed("Label3").SetCaption(Text(kLeftEyeInstruction));
         e.me.ImageNamed("Image1").SetPicture(e.Picture(kRealEye));
         e.me.ImageNamed("Image2").SetPicture(e.Picture(kSpot));
         e.me.ImageNamed("Image3").SetPicture(e.Picture(kTen));
       }},
      {"Left_Click", [](const Event& e) { Sweep(e.me, QStringLiteral("Image3"), 360, 4500, +1); }},
      GoTo("Menu_Click", "Form17"),
      GoTo("Next_Click", "Form22"),
      {"Right_Click", [](const Event& e) { Sweep(e.me, QStringLiteral("Image2"), 9070, 5200, -1); }},
      ExitButton(),
  });
}

}  // namespace pages
