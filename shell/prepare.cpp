#include "shell/prepare.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFontDatabase>
#include <QSet>
#include <QString>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>
#include <map>
#include <utility>

#include "content/texts.h"
#include "forms/accessibility.h"
#include "forms/fonts.h"
#include "forms/keypress.h"
#include "pagedesc/pagedesc.h"

namespace shell {

namespace {

const QString kWarmerName = QStringLiteral("lumora-font-warming");

// Pages in the order a pupil can first reach them from the first page, then any others: the
// characters of the pages met first are warmed first.
std::vector<const PageEntry*> InVisitOrder(const CourseMap& map) {
  std::vector<const PageEntry*> order;
  const auto add = [&](const PageEntry* page) {
    if (page && std::find(order.begin(), order.end(), page) == order.end()) order.push_back(page);
  };
  if (!map.empty()) add(&map.front());
  for (std::size_t i = 0; i < order.size(); ++i)
    for (const Edge& edge : order[i]->edges) add(FindPage(map, edge.target));
  for (const PageEntry& page : map) add(&page);
  return order;
}

// Every character the course sets in each of its fonts, each once, in warming order.
class FontQueue {
 public:
  explicit FontQueue(const CourseMap& map) {
    std::vector<std::size_t> bodyFonts;
    for (const PageEntry* page : InVisitOrder(map)) {
      for (const pagedesc::ControlDescription& c : page->description.controls) {
        if (!c.font) continue;
        // Labels set their text in their style's faces; buttons draw in the font itself.
        const std::size_t font = FontIndex(*c.font, c.kind == pagedesc::Kind::Label);
        Add(font, c.caption);
        // The lesson texts are set at load into the body-text labels; larger type holds only
        // titles, whose few characters are quick to draw on the spot.
        if (c.kind == pagedesc::Kind::Label && c.font->Points() < 16 &&
            std::find(bodyFonts.begin(), bodyFonts.end(), font) == bodyFonts.end())
          bodyFonts.push_back(font);
      }
    }
    // Text by text, in the course's order, so that the menu's comes first in every face.
    for (std::string_view text : content::AllTexts())
      for (const std::size_t font : bodyFonts) Add(font, text);
  }

  // Draws characters from the front until the budget is spent; false when none are left.
  bool Warm(qint64 budgetNs) {
    QElapsedTimer clock;
    clock.start();
    while (next_ < pieces_.size()) {
      // One character at a time: a Chinese one, in synthetic bold at four positions, takes up
      // to a millisecond.
      constexpr qsizetype kAtATime = 1;
      const auto& [font, characters] = pieces_[next_];
      const QString some = characters.mid(at_, kAtATime);
      forms::PrepareFonts({{&described_[font], some, asLabel_[font]}});
      at_ += some.size();
      if (at_ >= characters.size()) ++next_, at_ = 0;
      if (clock.nsecsElapsed() >= budgetNs) break;
    }
    return next_ < pieces_.size();
  }

 private:
  std::size_t FontIndex(const pagedesc::FontSpec& described, bool asLabel) {
    const auto [it, added] =
        index_.try_emplace({forms::KeyOf(described), asLabel}, described_.size());
    if (added) {
      described_.push_back(described);
      asLabel_.push_back(asLabel);
      seen_.emplace_back();
      // Opened even where no character of it is known before its page is loaded.
      pieces_.emplace_back(described_.size() - 1, QString());
    }
    return it->second;
  }

  void Add(std::size_t font, std::string_view text) {
    QString fresh;
    for (const QChar c : QUtf8StringView(text).toString())
      if (!seen_[font].contains(c)) seen_[font].insert(c), fresh += c;
    if (!fresh.isEmpty()) pieces_.emplace_back(font, fresh);
  }

  // A font, and whether it is drawn as a label's text or a button's caption.
  std::map<std::pair<forms::FontKey, bool>, std::size_t> index_;
  std::vector<pagedesc::FontSpec> described_;
  std::vector<bool> asLabel_;
  std::vector<QSet<QChar>> seen_;
  std::vector<std::pair<std::size_t, QString>> pieces_;
  std::size_t next_ = 0;
  qsizetype at_ = 0;
};

// Warms the fonts in the idle time after the first page is painted. Each slice is short, so a
// press on the first page waits at most one slice before it is handled.
class IdleWarmer final : public QObject {
 public:
  explicit IdleWarmer(FontQueue queue) : QObject(qApp), queue_(std::move(queue)) {
    setObjectName(kWarmerName);
    qApp->installEventFilter(this);
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, [this] {
      if (queue_.Warm(kSliceNs)) return;
      // Then one step a slice: decoding a picture takes up to a few milliseconds.
      if (!steps_.empty()) {
        if (!steps_.front()()) steps_.erase(steps_.begin());
        return;
      }
      timer_.stop();
      setObjectName(QString());
      deleteLater();
    });
  }

  void Add(std::function<bool()> step) { steps_.push_back(std::move(step)); }

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    // The timer fires on the event loop's next pass, once this paint is on the screen.
    if (event->type() == QEvent::Paint && receiver->isWidgetType() && !timer_.isActive()) {
      qApp->removeEventFilter(this);
      timer_.start();
    }
    return false;
  }

 private:
  // Drawing stops after 2 ms; the characters begun by then finish within another.
  static constexpr qint64 kSliceNs = 2'000'000;
  FontQueue queue_;
  std::vector<std::function<bool()>> steps_;  // after the fonts, in turn
  QTimer timer_;
};

IdleWarmer* PendingWarmer() {
  return qApp ? dynamic_cast<IdleWarmer*>(
                    qApp->findChild<QObject*>(kWarmerName, Qt::FindDirectChildrenOnly))
              : nullptr;
}

// Without a face that covers Traditional Chinese every character of the course is a box, and
// the pages say nothing about why: whoever installed it is told on the terminal which packages
// bring the faces its pages are set in. The course goes on, in whatever faces there are.
void WarnWithoutChineseFaces() {
  if (!QFontDatabase::families(QFontDatabase::TraditionalChinese).isEmpty()) return;
  std::fprintf(stderr,
               "%s: no installed font covers Traditional Chinese, so the course's texts show as "
               "boxes; install the Debian packages %s\n",
               qPrintable(QCoreApplication::applicationName()), LUMORA_CHINESE_FONT_PACKAGES);
}

}  // namespace

bool FontWarmingPending() { return PendingWarmer() != nullptr; }

void WarmAlso(std::function<bool()> step) {
  if (IdleWarmer* warmer = PendingWarmer())
    warmer->Add(std::move(step));
  else
    while (step()) {
    }
}

void PrepareApplication(const CourseMap& map, FontWarming warming) {
  // Between unloading one page and showing the next no window is open; that is not the end.
  QApplication::setQuitOnLastWindowClosed(false);
  forms::InstallFontSubstitutions();
  WarnWithoutChineseFaces();
  forms::InstallAccessibility();
  forms::ClickOncePerPress();
  FontQueue fonts(map);
  if (warming == FontWarming::kAtOnce)
    fonts.Warm(std::numeric_limits<qint64>::max());
  else
    new IdleWarmer(std::move(fonts));  // owned by the application, gone when done
}

}  // namespace shell
