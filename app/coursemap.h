// The course map: the twenty pages, what each does and where each of its buttons leads.
#pragma once

#include "shell/coursemap.h"

namespace app {

const shell::CourseMap& Course();

}  // namespace app
