#pragma once

#include "shell/coursemap.h"

namespace shell {

// Everything the course sets up once before its first page: windows stay open between pages
// only as the course says, the fonts' stand-ins, screen-reader support, and the course's fonts
// opened with every character of its texts drawn once, so that no first visit to a page waits
// for them.
void PrepareApplication(const CourseMap& map);

}  // namespace shell
