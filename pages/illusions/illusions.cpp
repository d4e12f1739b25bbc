// The illusion pages: a picture, a question, and an explanation hidden until Explain. Some show a
// second picture with the explanation; some replace the picture, on Explain or on NextStep.
#include <optional>

#include "content/assets.h"
#include "pages/common.h"
#include "pages/pages.h"
#include "content/texts.h"

namespace pages {

using namespace content;

namespace {

enum class Second {
  None,       // one picture
  Revealed,   // Image2 appears with the explanation
  OnExplain,  // Explain also puts the second picture in place of the first
  OnNextStep  // NextStep puts the second picture in place of the first
};

struct Illusion {
  std::string_view page, back;
  std::optional<std::string_view> next;
  std::string_view first;
  std::optional<std::string_view> second;
  Second kind;
  const content::Illusion& texts;
};

void Load(const Event& e, const Illusion& i) {
  e.me.SetPicture(e.Picture(kBackground));
  if (i.kind == Second::Revealed) e.me.ImageNamed("Image2").SetVisible(false);
  e.me.LabelNamed("Label2").SetVisible(false);
  e.me.ImageNamed("Image1").SetPicture(e.Picture(i.first));
  if (i.kind == Second::Revealed) e.me.ImageNamed("Image2").SetPicture(e.Picture(*i.second));
  e.me.LabelNamed("Label1").SetCaption(Text(i.texts.question));
  e.me.LabelNamed("Label2").SetCaption(Text(i.texts.explanation));
}

void Explain(const Event& e, const Illusion& i) {
  e.me.LabelNamed("Label2").SetVisible(true);
  if (i.kind == Second::Revealed) e.me.ImageNamed("Image2").SetVisible(true);
  if (i.kind == Second::OnExplain) e.me.ImageNamed("Image1").SetPicture(e.Picture(*i.second));
}

void Register(shell::Course& course, const Illusion& i) {
  shell::Handlers handlers = {
      {"Explain_Click", [&i](const Event& e) { Explain(e, i); }},
      {"Form_Load", [&i](const Event& e) { Load(e, i); }},
      GoTo("Index_Click", "Form4"),
      GoTo("Back_Click", i.back),
      GoTo("Menu_Click", "Form17"),
      ExitButton(),
  };
  if (i.next) handlers.push_back(GoTo("Next_Click", *i.next));
  if (i.kind == Second::OnNextStep)
    handlers.push_back({"NextStep_Click", [&i](const Event& e) {
                          e.me.ImageNamed("Image1").SetPicture(e.Picture(*i.second));
                        }});
  course.Register(i.page, std::move(handlers));
}

const Illusion kIllusionPages[] = {
    {"Form5", "Form4", "Form6", kGrey1, kGrey2, Second::Revealed, kIllusions[0]},
    {"Form6", "Form5", "Form7", kLine1, std::nullopt, Second::None, kIllusions[1]},
    {"Form7", "Form6", "Form8", kLine2, std::nullopt, Second::None, kIllusions[2]},
    {"Form8", "Form7", "Form9", kSquare1, kSquare2, Second::Revealed, kIllusions[3]},
    {"Form9", "Form8", "Form10", kSlope1, kSlope2, Second::OnExplain, kIllusions[4]},
    {"Form10", "Form9", "Form11", kLightbulb1, kLightbulb2, Second::OnNextStep, kIllusions[5]},
    {"Form11", "Form10", "Form12", kColorSq1, kColorSq2, Second::OnNextStep, kIllusions[6]},
    // Illusion 7, Form12, is an animation: its page is built elsewhere.
    {"Form13", "Form12", "Form14", kFaces, std::nullopt, Second::None, kIllusions[8]},
    {"Form14", "Form13", std::nullopt, kHead1, kHead2, Second::OnNextStep, kIllusions[9]},
};

}  // namespace

void RegisterIllusions(shell::Course& course) {
  for (const Illusion& i : kIllusionPages) Register(course, i);
}

}  // namespace pages
