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
PageDescription Form5();
PageDescription Form6();
PageDescription Form7();
PageDescription Form8();
PageDescription Form9();
PageDescription Form10();
PageDescription Form11();
PageDescription Form12();
PageDescription Form13();
PageDescription Form14();

}  // namespace pagedesc::pages
