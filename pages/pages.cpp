#include "pages/pages.h"

namespace pages {

void RegisterAll(shell::Course& course) {
  RegisterTitle(course);
  RegisterEye(course);
  RegisterBlindSpot(course);
  RegisterIntroduction(course);
  RegisterIndex(course);
  RegisterIllusions(course);
  RegisterAnimation(course);
}

}  // namespace pages
