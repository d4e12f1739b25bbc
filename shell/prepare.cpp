#include "prepare.h"

#include <QApplication>

#include <QSet>
#include <QString>
#include <map>
#include <tuple>

#include "accessibility.h"
#include "fonts.h"
#include "pagedesc.h"
#include "texts.h"

namespace shell {

namespace {

void PrepareCourseFonts() {
  std::map<std::tuple<std::string_view, std::uint32_t, bool>, QFont> fonts;
  QSet<QChar> seen;
  QString characters;
  const auto add = [&](std::string_view text) {
    for (const QChar c : QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())))
      if (!seen.contains(c)) {
        seen.insert(c);
        characters += c;
      }
  };
  for (std::string_view name : pagedesc::PageNames()) {
    for (const pagedesc::ControlDescription& c : pagedesc::Describe(name)->controls) {
      add(c.caption);
      if (c.font)
        fonts.try_emplace({c.font->family, c.font->size, c.font->underline},
                          forms::MakeFont(*c.font));
    }
  }
  for (std::string_view text : content::AllTexts()) add(text);
  std::vector<QFont> list;
  for (const auto& [key, font] : fonts) list.push_back(font);
  forms::PrepareFonts(list, characters);
}

}  // namespace

void PrepareApplication() {
  // Between unloading one page and showing the next no window is open; that is not the end.
  QApplication::setQuitOnLastWindowClosed(false);
  forms::InstallFontSubstitutions();
  forms::InstallAccessibility();
  PrepareCourseFonts();
}

}  // namespace shell
