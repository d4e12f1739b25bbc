#pragma once

#include <functional>

#include "shell/coursemap.h"

namespace shell {

// When the course's fonts are opened and every character of its texts drawn once, so that no
// first visit to a page waits for them: at once (tests and measurements that want steady
// figures), or in short slices while the first page waits for the pupil, starting once it has
// been painted (the course itself: the first page is on the screen sooner).
enum class FontWarming { kAtOnce, kAfterFirstPaint };

// Everything the course sets up once before its first page: windows stay open between pages
// only as the course says, the fonts' stand-ins, screen-reader support, one click per key press,
// and warming the fonts.
void PrepareApplication(const CourseMap& map, FontWarming warming = FontWarming::kAtOnce);

// More to do in the same idle time, once the fonts are warm: each call of step does a little and
// says whether more is left. Done at once where the fonts were warmed at once or are warm already.
void WarmAlso(std::function<bool()> step);

// Whether warming after the first paint has yet to finish.
bool FontWarmingPending();

}  // namespace shell
