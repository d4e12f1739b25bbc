// The course's one window. It lives from start-up to the end of the program and holds the page
// shown: pages come and go inside it, so the desktop never shows between two of them and the
// window keeps its place, its taskbar entry and the keyboard focus.
#pragma once

#include <QMargins>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

namespace forms {

class Page;

class Window final : public QWidget {
  Q_OBJECT
 public:
  Window();

  // Keeps what is on screen until the next page is shown in its place.
  void Freeze();
  // Shows the page, built inside this window and loaded: the window takes the page's size,
  // keeping its centre (the first time it opens centred on the screen, frame included), the
  // focus goes to the page's first control in keyboard order (a screen reader, following it into
  // the new page, speaks the page's name). Painted in one update.
  void Show(Page& page);
  // Off the screen: after a failure, or at the end.
  void Close();
  // The page shown, if any.
  Page* Shown() const;

  // F11: the page shown full screen, as large as the screen allows, the rest of the screen in
  // one calm colour; again (or Esc), the designed window, at the centre it had. Pages shown in
  // between come full screen too.
  void ToggleFullScreen();
  bool FullScreen() const;
  // The first page shown comes full screen, as if F11 had been pressed on it as soon as it was
  // on the screen (the command line's --full-screen); F11 or Esc then brings the designed
  // window, centred.
  void OpenFullScreen() { openFullScreen_ = true; }
  // The scale a page of the given designed size is shown at: full screen the largest that
  // fits; otherwise 1, or less where the designed window with its frame would not fit on the
  // screen.
  double ScaleFor(QSize designed);

  // What the window does when the window system closes it.
  void OnClosed(std::function<void()> closed) { closed_ = std::move(closed); }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void closeEvent(QCloseEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void paintEvent(QPaintEvent*) override;

 private:
  void SetTitle(const QString& title);
  void Place(QSize client);
  void CoverScreen();
  void Centre();
  // The page at the scale the window now asks for, in the middle of it.
  void LayOut(Page& page);
  QMargins Frame();
  void CentreWhenFramed();

  std::function<void()> closed_;
  QPointer<QWidget> page_;
  bool placed_ = false;
  bool fullScreen_ = false;
  bool openFullScreen_ = false;
  QPoint centre_;  // of the designed window, kept while full screen
  bool frameAsked_ = false;
  std::optional<QMargins> frame_;  // once the window manager has said
  QPoint centred_;                 // where the window was put when centred
};

}  // namespace forms
