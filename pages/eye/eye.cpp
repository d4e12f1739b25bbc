// The chapter on the structure of the eye: three lesson pages and the closing page.
#include "content/assets.h"
#include "pages/common.h"
#include "pages/pages.h"
#include "content/texts.h"

namespace pages {

using namespace content;

void RegisterEye(shell::Course& course) {
  course.Register("Form18", {
      GoTo("Back_Click", "Form17"),
      {"Form_Load", [](const Event& e) {
         e.me.LabelNamed("Label1").SetCaption(Text(kEyeStructureTitle));
         e.me.LabelNamed("Label2").SetCaption(Text(kParagraphA));
         e.me.ImageNamed("Image1").SetPicture(e.Picture(kRealEye));
         e.me.ImageNamed("Image2").SetPicture(e.Picture(kEyeFront));
       }},
      GoTo("Menu_Click", "Form17"),
      GoTo("Next_Click", "Form19"),
      ExitButton(),
  });

  course.Register("Form19", {
      GoTo("Back_Click", "Form18"),
      {"Form_Load", [](const Event& e) {
         e.me.LabelNamed("Label1").SetCaption(Text(kEyeStructureTitle));
         e.me.ImageNamed("Image1").SetPicture(e.Picture(kRealEye));
         e.me.ImageNamed("Image2").SetPicture(e.Picture(kEyeCross));
       }},
      GoTo("Menu_Click", "Form17"),
      GoTo("Next_Click", "Form20"),
      ExitButton(),
  });

  course.Register("Form20", {
      GoTo("Back_Click", "Form19"),
      {"Form_Load", [](const Event& e) {
         e.me.LabelNamed("Label1").SetCaption(Text(kEyeStructureTitle));
         e.me.LabelNamed("Label2").SetCaption(Text(kParagraphB));
         e.me.LabelNamed("Label3").SetCaption(Text(kParagraphC));
         e.me.ImageNamed("Image1").SetPicture(e.Picture(kRealEye));
       }},
      GoTo("Menu_Click", "Form17"),
      GoTo("Next_Click", "Form21"),
      ExitButton(),
  });

  course.Register("Form22", {
      GoTo("Back_Click", "Form21"),
      {"Form_Load", [](const Event& e) {
         e.me.LabelNamed("Label1").SetCaption(Text(kEyeWorkingTitle));
         e.me.LabelNamed("Label4").SetCaption(Text(kParagraphD));
         e.me.ImageNamed("Image1").SetPicture(e.Picture(kRealEye));
         e.me.ImageNamed("Image2").SetPicture(e.Picture(kWork));
       }},
      GoTo("Menu_Click", "Form17"),
      ExitButton(),
  });
}

}  // namespace pages
