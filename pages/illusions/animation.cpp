// Illusion 7: an afterimage of motion. The animation is a program of its own, held by the page's
// object container and started by its button.
#include "content/assets.h"
#include "pages/common.h"
#include "pages/pages.h"
#include "content/texts.h"

namespace pages {

using namespace content;

void RegisterAnimation(shell::Course& course) {
  course.Register("Form12", {
      {"Explain_Click", [](const Event& e) { e.me.LabelNamed("Label2").SetVisible(true); }},
      {"Form_Load", [](const Event& e) {
         e.me.SetPicture(e.Picture(kBackground));
         e.me.LabelNamed("Label2").SetVisible(false);
         e.me.ContainerNamed("OLE1").setEnabled(false);
         e.me.LabelNamed("Label1").SetCaption(Text(kIllusions[7].question));
         e.me.LabelNamed("Label2").SetCaption(Text(kIllusions[7].explanation));
         e.me.ContainerNamed("OLE1").CreateFromFile(e.course.AssetPath(kOptical));
       }},
      GoTo("Index_Click", "Form4"),
      GoTo("Next_Click", "Form13"),
      GoTo("Back_Click", "Form11"),
      {"NextStep_Click", [](const Event& e) { e.me.ContainerNamed("OLE1").Activate(); }},
      ExitButton(),
      GoTo("Menu_Click", "Form17"),
  });
}

}  // namespace pages
