#include "shell/course.h"

#include <QCoreApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>

#include "content/assets.h"
#include "pagedesc/pagedesc.h"
#include "shell/pagetable.h"
#include "shell/picturefile.h"

namespace shell {

namespace {

QString FromView(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

void Event::Go(std::string_view target) const { course.SwitchPage(me, target); }

forms::Picture Event::Picture(std::string_view asset) const {
  return course.LoadAssetPicture(asset);
}

Environment Environment::Real() {
  Environment env;
  env.folder = QCoreApplication::applicationDirPath();
  env.report = [](const QString& message) {
    const QString text = QStringLiteral("程式發生錯誤，必須結束。\n%1").arg(message);
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    QMessageBox::critical(nullptr, QString(), text);
  };
  env.end = [](int status) {
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
  };
  return env;
}

Course::Course(Environment environment) : env_(std::move(environment)) {
  QImageReader::setAllocationLimit(kMaxBytes / (1024 * 1024));
}

Course::~Course() {
  if (current_) delete current_.data();
}

void Course::Register(std::string_view page, Handlers handlers) {
  handlers_[page] = std::move(handlers);
}

bool Course::Registered(std::string_view page) const { return handlers_.count(page) != 0; }

std::vector<std::string_view> Course::HandlerNames(std::string_view page) const {
  std::vector<std::string_view> names;
  if (const auto it = handlers_.find(page); it != handlers_.end())
    for (const auto& [name, handler] : it->second) names.push_back(name);
  return names;
}

void Course::Start() {
  const std::string_view first = PageTable().front().name;
  forms::RunHandler([this](const QString& m) { Fail(m); }, [&] {
    Load(first);
    current_->ShowPage();
  });
}

void Course::SwitchPage(forms::Page& from, std::string_view target) {
  // 1. Unload the page we are on; nothing of it survives.
  from.Unload();
  if (current_ == &from) current_ = nullptr;
  // 2. Load the target, hidden, and run its load handler to the end.
  Load(target);
  // 3. Show it.
  current_->ShowPage();
}

void Course::Load(std::string_view name) {
  const pagedesc::PageDescription* description = pagedesc::Describe(name);
  if (!description || !FindPage(name))
    throw forms::Failure(QStringLiteral("沒有名為 %1 的頁面。").arg(FromView(name)));
  auto* page = new forms::Page(*description, [this](const QString& m) { Fail(m); });
  current_ = page;
  if (const auto it = handlers_.find(name); it != handlers_.end()) {
    for (const auto& [handlerName, handler] : it->second)
      page->On(FromView(handlerName), [this, page, handler](int index) {
        handler(Event{*page, *this, index});
      });
  }
  // The window system closing the only page ends the program.
  page->OnClosed([this] { EndProgram(); });
  page->Call(QStringLiteral("Form_Load"));
}

void Course::EndProgram() { End(0); }

void Course::Fail(const QString& message) {
  env_.report(message);
  End(1);
}

void Course::End(int status) {
  if (current_) current_->Unload();
  current_ = nullptr;
  ended_ = true;
  env_.end(status);
}

QString Course::AssetPath(std::string_view asset) const {
  QString name = FromView(asset);
#ifndef Q_OS_WIN
  // The names are written with a leading backslash; elsewhere the separator is a slash.
  name.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
  return env_.folder + name;
}

forms::Picture Course::LoadAssetPicture(std::string_view asset) const {
  const QString path = AssetPath(asset);
  const QFileInfo info(path);
  if (!info.exists()) throw forms::Failure(QStringLiteral("找不到圖片檔案：%1").arg(path));
  if (!info.isFile())
    throw forms::Failure(QStringLiteral("無法讀取圖片檔案（不是一般檔案）：%1").arg(path));
  if (!info.isReadable())
    throw forms::Failure(QStringLiteral("無法讀取圖片檔案（沒有讀取權限）：%1").arg(path));

  return {QPixmap::fromImage(ReadPictureFile(path)), FromView(content::DescribePicture(asset))};
}

}  // namespace shell
