// The course shell: which page is loaded, switching between pages, ending the program, and
// finding the course's files beside its executable.
#pragma once

#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <string_view>
#include <vector>

#include "forms/failure.h"
#include "forms/page.h"
#include "forms/picture.h"

namespace shell {

class Course;

// What a handler receives: its page, the course, and for array elements the element's index.
struct Event {
  forms::Page& me;
  Course& course;
  int index = -1;

  void Go(std::string_view target) const;  // SwitchPage from this page
  forms::Picture Picture(std::string_view asset) const;  // LoadAssetPicture
};

using Handler = std::function<void(const Event&)>;
using Handlers = std::vector<std::pair<std::string_view, Handler>>;

// How the program meets the outside world at its two ends; tests put their own in place.
struct Environment {
  QString folder;                                  // the folder of the executable
  std::function<void(const QString&)> report;      // tells the pupil about a failure
  std::function<void(int status)> end;             // ends the process
  static Environment Real();
};

class Course {
 public:
  explicit Course(Environment environment);
  ~Course();

  void Register(std::string_view page, Handlers handlers);
  bool Registered(std::string_view page) const;
  std::vector<std::string_view> HandlerNames(std::string_view page) const;

  // Loads and shows the start-up page.
  void Start();

  void SwitchPage(forms::Page& from, std::string_view target);
  void EndProgram();
  QString AssetPath(std::string_view asset) const;
  forms::Picture LoadAssetPicture(std::string_view asset) const;

  // The loaded page, or nullptr when none is (after the end, or inside a switch).
  forms::Page* Current() const { return current_; }
  bool Ended() const { return ended_; }

 private:
  void Load(std::string_view page);
  void Fail(const QString& message);
  void End(int status);

  Environment env_;
  std::map<std::string_view, Handlers> handlers_;
  QPointer<forms::Page> current_;
  bool ended_ = false;
};

}  // namespace shell
