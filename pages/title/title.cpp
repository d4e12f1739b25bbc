// The title page and the main menu.
#include "content/assets.h"
#include "pages/common.h"
#include "pages/pages.h"
#include "content/texts.h"

namespace pages {

void RegisterTitle(shell::Course& course) {
  // Any mouse press on the title page, on its labels too, opens the menu.
  course.Register("Form16", {
      {"Form_Load", [](const Event& e) { e.me.SetPicture(e.Picture(content::kTitleBackground)); }},
      GoTo("Form_MouseDown", "Form17"),
      GoTo("Label1_MouseDown", "Form17"),
      GoTo("Label2_MouseDown", "Form17"),
  });

  course.Register("Form17", {
      GoTo("Command1_Click", "Form18"),
      GoTo("Command3_Click", "Form2"),
      {"Form_Load", [](const Event& e) {
         e.me.SetPicture(e.Picture(content::kMenuBackground));
         e.me.LabelNamed("Label5").SetCaption(Text(content::kMenuIntro));
         e.me.ButtonNamed("Command1").SetPicture(e.Picture(content::kRealEye));
         e.me.ButtonNamed("Command3").SetPicture(e.Picture(content::kGrey1));
       }},
      ExitButton(),
  });
}

}  // namespace pages
