// The opening pages of the senses chapter and the illusion index.
#include "content/assets.h"
#include "pages/common.h"
#include "pages/pages.h"
#include "content/texts.h"

namespace pages {

using namespace content;

void RegisterIntroduction(shell::Course& course) {
  course.Register("Form2", {
      GoTo("Back_Click", "Form16"),
      {"Form_Load", [](const Event& e) {
         e.me.SetPicture(e.Picture(kBackground));
         e.me.LabelNamed("Label1").SetCaption(Text(kSensesTitle));
         e.me.LabelNamed("Label2").SetCaption(Text(kSensesParagraph));
       }},
      GoTo("Next_Click", "Form3"),
      ExitButton(),
      GoTo("Menu_Click", "Form17"),
  });

  course.Register("Form3", {
      GoTo("Back_Click", "Form2"),
      {"Form_Load", [](const Event& e) {
         e.me.SetPicture(e.Picture(kBackground));
         e.me.LabelNamed("Label1").SetCaption(Text(kIllusionTitle));
         e.me.LabelNamed("Label2").SetCaption(Text(kIllusionParagraph));
       }},
      ExitButton(),
      GoTo("Next_Click", "Form4"),
      GoTo("Menu_Click", "Form17"),
  });
}

void RegisterIndex(shell::Course& course) {
  course.Register("Form4", {
      GoTo("Back_Click", "Form3"),
      {"Form_Load", [](const Event& e) {
         e.me.SetPicture(e.Picture(kBackground));
         e.me.LabelNamed("Label1").SetCaption(Text(kIndexPrompt));
       }},
      ExitButton(),
      // Button k opens illusion k: Form5 for 0 up to Form14 for 9.
      {"image_Click", [](const Event& e) {
         static constexpr std::string_view kTargets[] = {"Form5",  "Form6",  "Form7",  "Form8",
                                                         "Form9",  "Form10", "Form11", "Form12",
                                                         "Form13", "Form14"};
         e.Go(kTargets[e.index]);
       }},
      GoTo("Menu_Click", "Form17"),
  });
}

}  // namespace pages
