#include "pagedesc/pagedesc.h"

namespace pagedesc {

const ControlDescription* PageDescription::Find(std::string_view control,
                                                std::optional<std::uint16_t> index) const {
  for (const ControlDescription& c : controls)
    if (c.name == control && c.index == index) return &c;
  return nullptr;
}

}  // namespace pagedesc
