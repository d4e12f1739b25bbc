#include "pages/lesson.h"

#include "forms/page.h"

namespace pages {

shell::Handler LoadLesson(const Lesson& lesson) {
  return [&lesson](const shell::Event& e) {
    if (!lesson.background.empty()) e.me.SetPicture(e.Picture(lesson.background));
    for (const auto& [label, text] : lesson.captions)
      e.me.LabelNamed(Text(label)).SetCaption(Text(text));
    for (const auto& [name, file] : lesson.pictures) {
      forms::Control& control = e.me.Find(Text(name));
      if (auto* button = dynamic_cast<forms::Button*>(&control))
        button->SetPicture(e.Picture(file));
      else
        e.me.ImageNamed(Text(name)).SetPicture(e.Picture(file));
    }
  };
}

shell::Handlers LessonPage(const Lesson& lesson) {
  shell::Handlers handlers = {{"Form_Load", LoadLesson(lesson)}};
  if (!lesson.background.empty()) handlers.pictures.push_back(lesson.background);
  for (const auto& picture : lesson.pictures) handlers.pictures.push_back(picture.second);
  return handlers;
}

}  // namespace pages
