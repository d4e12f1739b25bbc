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

std::string VariantName(std::string_view picture, int factor) {
  const std::size_t dot = picture.rfind('.');
  std::string name(picture.substr(0, dot));
  name += '@' + std::to_string(factor) + 'x';
  if (dot != std::string_view::npos) name += picture.substr(dot);
  return name;
}

int VariantFactor(double density) {
  // A rounding error above a whole density still takes that variant.
  if (density <= 1 + 1e-6) return 1;
  for (const int factor : kVariantFactors)
    if (density <= factor + 1e-6) return factor;
  return kVariantFactors.back();
}

std::string_view DescribePicture(std::string_view asset) {
  for (const auto& [picture, text] : kDescriptions) {
    if (picture == asset) return text;
  }
  return {};
}

}  // namespace content
