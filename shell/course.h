// The course shell: which page is loaded, switching between pages, ending the program, and
// finding the course's files beside its executable.
#pragma once

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "forms/page.h"
#include "forms/picture.h"
#include "forms/window.h"
#include "shell/coursemap.h"
#include "shell/picturecache.h"

namespace shell {

// How the program meets the outside world at its two ends; tests put their own in place.
struct Environment {
  QString folder;                              // the folder of the executable
  std::function<void(const QString&)> report;  // tells the pupil about a failure
  std::function<void(int status)> end;         // ends the process
  double timeScale = 1;  // how long the course's timed steps take: tests run them faster
  static Environment Real();
};

class Course {
 public:
  // The map must outlive the course.
  Course(Environment environment, const CourseMap& map);
  ~Course();

  const CourseMap& Map() const { return map_; }

  // Loads and shows the start-up page.
  void Start();

  void SwitchPage(forms::Page& from, std::string_view target);
  void EndProgram();
  QString AssetPath(std::string_view asset) const;
  forms::Picture LoadAssetPicture(std::string_view asset) const;

  // The loaded page, or nullptr when none is (after the end, or inside a switch).
  forms::Page* Current() const { return current_; }
  // The one window every page is shown in.
  forms::Window& Window() const { return *window_; }
  bool Ended() const { return ended_; }
  double TimeScale() const { return env_.timeScale; }

 private:
  void Load(std::string_view page);
  // Decodes the next picture a page's load shows, ahead of the page; false when all have been.
  // A picture that cannot be read is left for that page to report.
  bool DecodeAhead();
  void Fail(const QString& message);
  void End(int status);
  // The picture file named (a course picture or one of its variants), checked and read.
  QPixmap ReadPicture(std::string_view name) const;
  forms::Variant LoadVariant(std::string_view asset, double density) const;

  Environment env_;
  const CourseMap& map_;
  std::unique_ptr<forms::Window> window_;
  QPointer<forms::Page> current_;
  bool ended_ = false;
  // Reading a picture changes nothing the course shows; the cache only spares decoding.
  mutable PictureCache pictures_;
  std::size_t aheadPage_ = 0, aheadPicture_ = 0;
};

}  // namespace shell
