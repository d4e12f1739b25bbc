// What each page does besides moving to another page: the course map wires the moves, and every
// page's Exit, itself.
#pragma once

#include "shell/coursemap.h"

namespace pages {

shell::Handlers Title();
shell::Handlers Menu();

shell::Handlers EyeParts();    // the eye from the front
shell::Handlers EyeSection();  // the eye in section
shell::Handlers EyeInside();   // pupil, iris, lens and retina
shell::Handlers BlindSpot();
shell::Handlers EyeWorking();

shell::Handlers Senses();
shell::Handlers IllusionIntroduction();
shell::Handlers IllusionIndex();
shell::Handlers Illusion(int k);  // 0 to 9

}  // namespace pages
