// Drives the real course in the test process: a course folder of its own (a copy of the built
// one, which a test may spoil), the real pages, and an outside world that records instead of
// showing message boxes and ending the process.
#pragma once

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>

#include "forms/page.h"
#include "shell/course.h"
#include "tests/support/coursemap.h"

namespace testing {

class Harness {
 public:
  // subfolder: where inside the temporary folder the course lies (for odd path names).
  explicit Harness(const QString& subfolder = QStringLiteral("course"));
  // The course's timed steps (the blind-spot sweep) take no time unless a test asks for it.
  void SetTimeScale(double scale);
  ~Harness();

  // Written as the platform writes paths, as the course's reports name them.
  QString Folder() const { return folder_; }
  QString File(const QString& name) const { return folder_ + QDir::separator() + name; }
  void Remove(const QString& name) const;
  // Puts a stand-in in the animation program's place: it notes each start in started.txt of the
  // folder it runs in, and ends.
  void ReplaceAnimation() const;

  void Start();
  shell::Course& Course() { return *course_; }
  forms::Page* Page() const { return course_->Current(); }
  QString PageName() const;

  // Pupil actions on the current page.
  void Click(const QString& control, std::optional<int> index = std::nullopt);
  void Press(const QString& control, Qt::MouseButton button = Qt::LeftButton,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  void PressPage(QPoint at, Qt::MouseButton button = Qt::LeftButton);
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  QWidget* Focus() const;
  // F11 when the window is not as asked, and waits for the window to take its new size.
  void FullScreen(bool on);

  // Walks the shortest way from the current page (the start page if none) along buttons.
  void GoTo(const QString& page);
  // Takes one way out of the current page: its button, or a press on the page or a label.
  void Take(const coursemap::Step& step);

  // What the outside world saw.
  const QStringList& Reports() const { return reports_; }
  std::optional<int> Status() const { return status_; }
  // Windows of the course still on screen.
  int VisiblePages() const;
  // A page on the screen and its visible controls; nothing when no page is.
  struct Screen {
    QString page;
    QStringList controls;
  };
  Screen OnScreen() const;
  // What was on the screen behind the last report, at the moment it was made.
  const Screen& AtReport() const { return atReport_; }

 private:
  QTemporaryDir dir_;
  QString folder_;
  QStringList reports_;
  Screen atReport_;
  std::optional<int> status_;
  shell::Environment env_;
  std::unique_ptr<shell::Course> course_;
};

// The folder the build puts the course in.
QString BuiltCourseFolder();

// Makes the offscreen platform's screen the given size in device-independent pixels; false
// where the platform is another.
bool SetScreen(QSize size);

}  // namespace testing
