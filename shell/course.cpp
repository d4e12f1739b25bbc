#include "shell/course.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <cstdio>
#include <iterator>

#include "content/assets.h"
#include "content/texts.h"
#include "forms/fonts.h"
#include "forms/platform/platform.h"
#include "pagedesc/pagedesc.h"
#include "pagedesc/rows.h"
#include "shell/picturefile.h"
#include "shell/prepare.h"

namespace shell {

namespace {

// One handler for each event that leads to another page; the elements of a control array share
// theirs, and the element's index picks the target.
Handlers MoveHandlers(const std::vector<Edge>& edges) {
  Handlers handlers;
  for (const Edge& edge : edges) {
    const auto same = [&](const auto& h) { return h.first == edge.handler; };
    if (std::any_of(handlers.begin(), handlers.end(), same)) continue;
    std::vector<Edge> mine;
    std::copy_if(edges.begin(), edges.end(), std::back_inserter(mine),
                 [&](const Edge& e) { return e.handler == edge.handler; });
    handlers.emplace_back(edge.handler, [mine](const Event& e) {
      for (const Edge& m : mine)
        if (!m.index || *m.index == e.index) return e.Go(m.target);
    });
  }
  return handlers;
}

}  // namespace

void Event::Go(std::string_view target) const { course.SwitchPage(me, target); }

forms::Picture Event::Picture(std::string_view asset) const {
  return course.LoadAssetPicture(asset);
}

Environment Environment::Real() {
  Environment env;
  // As the platform writes paths: the failure reports name files as the pupil knows them.
  env.folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
  env.report = [](const QString& message) {
    const QString text = QStringLiteral("程式發生錯誤，必須結束。\n%1").arg(message);
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    // In the course's own face, as its buttons: without it the platform's default font has
    // no Chinese and the characters come from whatever face the system falls back to.
    forms::ShowFailureReport(text, forms::MakeFont(pagedesc::rows::Ming12));
  };
  env.end = [](int status) { forms::EndCourse(status); };
  return env;
}

Course::Course(Environment environment, const CourseMap& map)
    : env_(std::move(environment)), map_(map), window_(std::make_unique<forms::Window>()) {
  QImageReader::setAllocationLimit(kMaxBytes / (1024 * 1024));
  // The window system closing the window ends the program.
  window_->OnClosed([this] { EndProgram(); });
}

Course::~Course() {
  if (current_) delete current_.data();
}

void Course::Start() {
  const std::string_view first = map_.front().Name();
  forms::RunHandler([this](const QString& m) { Fail(m); },
                    [&] {
                      Load(first);
                      window_->Show(*current_);
                    });
  // The window stands for the course: steps left over when it is gone do nothing.
  WarmAlso(
      [this, alive = QPointer<forms::Window>(window_.get())] { return alive && DecodeAhead(); });
}

bool Course::DecodeAhead() {
  while (aheadPage_ < map_.size() && aheadPicture_ >= map_[aheadPage_].handlers.pictures.size())
    ++aheadPage_, aheadPicture_ = 0;
  if (aheadPage_ >= map_.size()) return false;
  try {
    // With the variant the pages are shown at now, if they need one.
    const forms::Picture picture =
        LoadAssetPicture(map_[aheadPage_].handlers.pictures[aheadPicture_++]);
    if (current_) picture.variant(current_->Density());
  } catch (const forms::Failure&) {
  }
  return true;
}

void Course::SwitchPage(forms::Page& from, std::string_view target) {
  // 1. Unload the page we are on; nothing of it survives but its pixels on the screen, until the
  // next page is painted in their place.
  window_->Freeze();
  from.Unload();
  if (current_ == &from) current_ = nullptr;
  // 2. Load the target, hidden, and run its load handler to the end.
  Load(target);
  // 3. Show it.
  window_->Show(*current_);
}

void Course::Load(std::string_view name) {
  const PageEntry* entry = FindPage(map_, name);
  if (!entry)
    throw forms::Failure(
        QStringLiteral("沒有名為 %1 的頁面。").arg(QUtf8StringView(name).toString()));
  auto* page = new forms::Page(
      entry->description, [this](const QString& m) { Fail(m); }, window_.get());
  current_ = page;
  if (const auto place = PlaceInChapter(map_, name))
    page->SetSpokenPlace(
        QUtf8StringView(content::kPlaceInChapter).toString().arg(place->number).arg(place->count));
  const auto wire = [this, page](std::string_view handlerName, Handler handler) {
    page->On(QUtf8StringView(handlerName).toString(),
             [this, page, handler = std::move(handler)](int index) {
               handler(Event{*page, *this, index});
             });
  };
  for (const auto& [handlerName, handler] : entry->handlers) wire(handlerName, handler);
  for (const auto& [handlerName, handler] : MoveHandlers(entry->edges)) wire(handlerName, handler);
  if (entry->description.Find("Exit"))
    wire("Exit_Click", [](const Event& e) { e.course.EndProgram(); });
  page->Call(QStringLiteral("Form_Load"));
}

void Course::EndProgram() { End(0); }

void Course::Fail(const QString& message) {
  // A failed load leaves no page to show behind the report (the page before is gone already);
  // a failure in a button's handler leaves its page on the screen as the handler left it.
  if (!current_ || window_->Shown() != current_) window_->Close();
  env_.report(message);
  End(1);
}

void Course::End(int status) {
  if (current_) current_->Unload();
  current_ = nullptr;
  window_->Close();
  ended_ = true;
  env_.end(status);
}

QString Course::AssetPath(std::string_view asset) const {
  QString name = QUtf8StringView(asset).toString();
  // The names are written with a leading backslash, Windows' separator, where they stand as they
  // are; elsewhere it becomes the platform's own.
  name.replace(QLatin1Char('\\'), QDir::separator());
  return env_.folder + name;
}

forms::Picture Course::LoadAssetPicture(std::string_view asset) const {
  return {ReadPicture(asset), QUtf8StringView(content::DescribePicture(asset)).toString(),
          [this, asset](double density) { return LoadVariant(asset, density); }};
}

QPixmap Course::ReadPicture(std::string_view name) const {
  const QString path = AssetPath(name);
  const QFileInfo info(path);
  if (!info.exists()) throw forms::Failure(QStringLiteral("找不到圖片檔案：%1").arg(path));
  if (!info.isFile())
    throw forms::Failure(QStringLiteral("無法讀取圖片檔案（不是一般檔案）：%1").arg(path));
  if (!info.isReadable())
    throw forms::Failure(QStringLiteral("無法讀取圖片檔案（沒有讀取權限）：%1").arg(path));
  return pictures_.Read(name, path);
}

forms::Variant Course::LoadVariant(std::string_view asset, double density) const {
  const int factor = content::VariantFactor(density);
  if (factor == 1) return {};
  const std::string name = content::VariantName(asset, factor);
  // A finer drawing is an addition: without one the picture itself is drawn larger. A file that
  // is there but cannot be read (a broken link included) is reported like any other.
  const QFileInfo info(AssetPath(name));
  if (!info.exists() && !info.isSymLink()) return {};
  return {factor, ReadPicture(name)};
}

}  // namespace shell
