#include "pagedesc/pagedesc.h"

#include <array>

#include "pagedesc/descriptions.h"

namespace pagedesc {

namespace {

constexpr std::array<std::string_view, 20> kPageNames = {
    "Form16", "Form2",  "Form17", "Form18", "Form19", "Form20", "Form21",
    "Form22", "Form3",  "Form4",  "Form5",  "Form6",  "Form7",  "Form8",
    "Form9",  "Form10", "Form11", "Form12", "Form13", "Form14",
};

const std::vector<PageDescription>& All() {
  static const std::vector<PageDescription> all = {
      pages::Form16(), pages::Form2(),  pages::Form17(), pages::Form18(), pages::Form19(),
      pages::Form20(), pages::Form21(), pages::Form22(), pages::Form3(),  pages::Form4(),
      pages::Form5(),  pages::Form6(),  pages::Form7(),  pages::Form8(),  pages::Form9(),
      pages::Form10(), pages::Form11(), pages::Form12(), pages::Form13(), pages::Form14(),
  };
  return all;
}

}  // namespace

std::span<const std::string_view> PageNames() { return kPageNames; }

const PageDescription* Describe(std::string_view page) {
  for (const PageDescription& p : All())
    if (p.name == page) return &p;
  return nullptr;
}

const ControlDescription* PageDescription::Find(std::string_view control,
                                                std::optional<std::uint16_t> index) const {
  for (const ControlDescription& c : controls)
    if (c.name == control && c.index == index) return &c;
  return nullptr;
}

}  // namespace pagedesc
