#pragma once

#include "shell/course.h"

namespace pages {

// Gives every page of the course its handlers.
void RegisterAll(shell::Course& course);

void RegisterTitle(shell::Course& course);
void RegisterEye(shell::Course& course);
void RegisterBlindSpot(shell::Course& course);
void RegisterIntroduction(shell::Course& course);
void RegisterIndex(shell::Course& course);
void RegisterIllusions(shell::Course& course);
void RegisterAnimation(shell::Course& course);

}  // namespace pages
