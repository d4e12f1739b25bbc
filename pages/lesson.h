// A page whose load fills it from a table row: its background, the texts of its labels and the
// pictures of its image boxes and buttons.
#pragma once

#include <QString>
#include <string_view>
#include <utility>
#include <vector>

#include "shell/coursemap.h"

namespace pages {

inline QString Text(std::string_view s) { return QUtf8StringView(s).toString(); }

struct Lesson {
  std::string_view background;                                          // none when empty
  std::vector<std::pair<std::string_view, std::string_view>> captions;  // label, text
  std::vector<std::pair<std::string_view, std::string_view>> pictures;  // control, picture file
};

// Form_Load of such a page: the background, then the texts, then the pictures.
shell::Handler LoadLesson(const Lesson& lesson);

// A page that does no more than that: its load, and the pictures the load shows.
shell::Handlers LessonPage(const Lesson& lesson);

}  // namespace pages
