// The opening pages of the senses chapter and the illusion index. The index's buttons lead to the
// illusions through the course map.
#include "content/assets.h"
#include "content/texts.h"
#include "pages/lesson.h"
#include "pages/pages.h"

namespace pages {

using namespace content;

// clang-format off
shell::Handlers Senses() {
  static const Lesson kPage{kBackground, {{"Label1", kSensesTitle}, {"Label2", kSensesParagraph}}, {}};
  return LessonPage(kPage);
}

shell::Handlers IllusionIntroduction() {
  static const Lesson kPage{kBackground, {{"Label1", kIllusionTitle}, {"Label2", kIllusionParagraph}}, {}};
  return LessonPage(kPage);
}

shell::Handlers IllusionIndex() {
  static const Lesson kPage{kBackground, {{"Label1", kIndexPrompt}}, {}};
  return LessonPage(kPage);
}
// clang-format on

}  // namespace pages
