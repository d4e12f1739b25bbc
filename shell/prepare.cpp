#include "shell/prepare.h"

#include <QApplication>
#include <QString>
#include <map>
#include <tuple>

#include "content/texts.h"
#include "forms/accessibility.h"
#include "forms/fonts.h"
#include "pagedesc/pagedesc.h"

namespace shell {

namespace {

void PrepareCourseFonts(const CourseMap& map) {
  struct Prepared {
    QFont font;
    QString characters;
    void Add(std::string_view text) {
      for (const QChar c : QUtf8StringView(text).toString())
        if (!characters.contains(c)) characters += c;
    }
  };
  std::map<std::tuple<std::string_view, std::uint32_t, bool>, Prepared> fonts;
  for (const PageEntry& page : map) {
    for (const pagedesc::ControlDescription& c : page.description.controls) {
      if (!c.font) continue;
      auto [it, added] = fonts.try_emplace({c.font->family, c.font->size, c.font->underline});
      if (added) it->second.font = forms::MakeFont(*c.font);
      it->second.Add(c.caption);
      // The lesson texts are set at load into the body-text labels; larger type holds only
      // titles, whose few characters are quick to draw on the spot.
      if (c.kind == pagedesc::Kind::Label && c.font->Points() < 16)
        for (std::string_view text : content::AllTexts()) it->second.Add(text);
    }
  }
  std::vector<std::pair<QFont, QString>> list;
  for (const auto& [key, prepared] : fonts) list.emplace_back(prepared.font, prepared.characters);
  forms::PrepareFonts(list);
}

}  // namespace

void PrepareApplication(const CourseMap& map) {
  // Between unloading one page and showing the next no window is open; that is not the end.
  QApplication::setQuitOnLastWindowClosed(false);
  forms::InstallFontSubstitutions();
  forms::InstallAccessibility();
  PrepareCourseFonts(map);
}

}  // namespace shell
