// Small pieces every page's handlers are made of.
#pragma once

#include <QString>
#include <string_view>

#include "shell/course.h"

namespace pages {

using shell::Event;
using shell::Handler;

inline QString Text(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A navigation handler: one switch from this page to the target.
inline std::pair<std::string_view, Handler> GoTo(std::string_view handler,
                                                 std::string_view target) {
  return {handler, [target](const Event& e) { e.Go(target); }};
}

inline std::pair<std::string_view, Handler> ExitButton() {
  return {"Exit_Click", [](const Event& e) { e.course.EndProgram(); }};
}

}  // namespace pages
