// One function per page description; each lives in the file of its chapter.
#pragma once

#include "pagedesc/pagedesc.h"

namespace pagedesc::pages {

PageDescription Form16();
PageDescription Form17();

PageDescription Form18();
PageDescription Form19();
PageDescription Form20();
PageDescription Form21();
PageDescription Form22();

PageDescription Form2();
PageDescription Form3();
PageDescription Form4();

// The page of illusion k, 0 to 9: the index's button k opens it.
inline constexpr int kIllusionCount = 10;
PageDescription Illusion(int k);

}  // namespace pagedesc::pages
