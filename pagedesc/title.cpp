// The title page and the main menu.
#include "pagedesc/descriptions.h"
#include "pagedesc/rows.h"

namespace pagedesc::pages {

using namespace rows;

// One row a control, as in the layout tables.
// clang-format off

// The page has nothing to press but the page itself: its description says so.
PageDescription Form16() {
  return Described("按一下滑鼠，就會打開主目錄。", HeadedBy("Label2", Page("Form16", {
      Label("Label2", -120, 1680, 9855, 1815, 1, Kai72, Default, " Lumora"),
      Label("Label1", 1080, 3600, 7695, 2655, 0, Times48, Default, "Lumora", Centred),
  })));
}

PageDescription Form17() {
  return Spoken("主目錄", Page("Form17", {
      Button("Exit", 8280, 6600, 1095, 495, 6, Ming12, "離開"),
      LabelledBy("Label4", PictureButton("Command3", 2040, 5280, 1095, 735, 2)),
      LabelledBy("Label2", PictureButton("Command1", 2040, 3960, 1095, 735, 0)),
      Label("Label5", 1440, 1920, 7335, 1335, 5, Ming1425, Default, "Label5"),
      Label("Label4", 3480, 5280, 4935, 735, 4, Kai2775, Default, "視錯覺"),
      Label("Label2", 3480, 3960, 4935, 735, 3, Kai2775, Default, "眼睛的構造及運作"),
      Label("Label1", 1320, 600, 2295, 1095, 1, Kai48, Default, "眼睛"),
  }));
}

// clang-format on

}  // namespace pagedesc::pages
