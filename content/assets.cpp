#include "content/assets.h"

namespace content {

namespace {

struct Description {
  std::string_view picture, text;
};

constexpr Description kDescriptions[] = {
#define PICTURE(constant, file, description) {constant, description},
#include "content/pictures.def"
#undef PICTURE
};

}  // namespace

std::string_view DescribePicture(std::string_view asset) {
  for (const auto& [picture, text] : kDescriptions) {
    if (picture == asset) return text;
  }
  return {};
}

}  // namespace content
