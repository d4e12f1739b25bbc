// The chapter on the structure of the eye: three lesson pages and the closing page. They have no
// background picture; each shows the photograph of an eye in its corner.
#include "content/assets.h"
#include "content/texts.h"
#include "pages/lesson.h"
#include "pages/pages.h"

namespace pages {

using namespace content;

// clang-format off
shell::Handlers EyeParts() {
  static const Lesson kPage{{}, {{"Label1", kEyeStructureTitle}, {"Label2", kParagraphA}},
                                {{"Image1", kRealEye}, {"Image2", kEyeFront}}};
  return LessonPage(kPage);
}

shell::Handlers EyeSection() {
  static const Lesson kPage{{}, {{"Label1", kEyeStructureTitle}},
                                {{"Image1", kRealEye}, {"Image2", kEyeCross}}};
  return LessonPage(kPage);
}

shell::Handlers EyeInside() {
  static const Lesson kPage{{}, {{"Label1", kEyeStructureTitle}, {"Label2", kParagraphB},
                                 {"Label3", kParagraphC}},
                                {{"Image1", kRealEye}}};
  return LessonPage(kPage);
}

shell::Handlers EyeWorking() {
  static const Lesson kPage{{}, {{"Label1", kEyeWorkingTitle}, {"Label4", kParagraphD}},
                                {{"Image1", kRealEye}, {"Image2", kWork}}};
  return LessonPage(kPage);
}
// clang-format on

}  // namespace pages
