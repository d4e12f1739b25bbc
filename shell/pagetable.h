// The course's twenty pages, in order: the first is the page shown at start. Each entry lists the
// handlers the page answers with.
#pragma once

#include <array>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace shell {

struct PageEntry {
  std::string_view name;
  std::string_view role;
  std::vector<std::string_view> handlers;
};

const std::vector<PageEntry>& PageTable();
const PageEntry* FindPage(std::string_view name);

}  // namespace shell
