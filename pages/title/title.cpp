// The title page and the main menu. Any press on the title page, on its labels too, opens the
// menu; the course map says so.
#include "content/assets.h"
#include "content/texts.h"
#include "pages/lesson.h"
#include "pages/pages.h"

namespace pages {

using namespace content;

shell::Handlers Title() {
  static const Lesson kPage{kTitleBackground, {}, {}};
  return LessonPage(kPage);
}

shell::Handlers Menu() {
  // clang-format off
  static const Lesson kPage{kMenuBackground,
                            {{"Label5", kMenuIntro}},
                            {{"Command1", kRealEye}, {"Command3", kGrey1}}};
  // clang-format on
  return LessonPage(kPage);
}

}  // namespace pages
