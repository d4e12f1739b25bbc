// A page: one window built from its description, with its controls, its background picture and
// its handlers. Events on the page and its controls reach the handler registered under the name
// that joins the control's name and the event's name ("Next_Click", "Form_MouseDown").
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "forms/controls.h"
#include "forms/failure.h"
#include "forms/picture.h"
#include "pagedesc/pagedesc.h"

namespace forms {

class Page final : public QWidget {
  Q_OBJECT
 public:
  // Builds the page and its controls, hidden, inside the course's window (none: a page of its
  // own, as the benchmarks build them), at the scale the window shows it at. Failures in
  // handlers go to the sink.
  Page(const pagedesc::PageDescription& description, FailureSink sink, QWidget* window = nullptr);
  ~Page() override;

  const pagedesc::PageDescription& Description() const { return description_; }
  QString Name() const;

  // --- handlers ---
  using Handler = std::function<void(int index)>;
  void On(const QString& name, Handler handler);
  bool HasHandler(const QString& name) const;
  QStringList HandlerNames() const;
  // Delivers an event to its handler, if the page has one; the one place failures are caught.
  void Raise(const QString& name, int index = -1);
  // Runs a handler for the course itself (the load step), letting failures pass to the caller.
  void Call(const QString& name);
  // Where the page's failures go: for work a handler leaves to the event loop.
  const FailureSink& Sink() const { return sink_; }

  // --- life ---
  // The title its window shows, and the name a screen reader gives it: the heading's caption
  // (or the page's spoken name), then where the page stands, which tells apart pages that share
  // a heading.
  QString Title() const;
  QString AccessibleName() const;
  void SetSpokenPlace(const QString& place) { place_ = place; }
  // The focus goes to the visible control with the lowest tab index.
  void FocusFirst();
  // Takes the page off the screen for good; it no longer answers any event.
  void Unload();
  bool Unloaded() const { return unloaded_; }

  // --- size ---
  // The client area as designed, in device-independent pixels.
  QSize DesignSize() const;
  // How large the page is shown: 1 as designed; larger full screen, smaller on a screen too
  // small for the designed window.
  double Scale() const { return scale_; }
  // The screen's pixels for each designed pixel: the scale times the device pixel ratio.
  double Density() const { return scale_ * devicePixelRatioF(); }
  // Lays the page out again at another scale, keeping all its handlers have changed, and reads
  // the pictures it needs at that scale. A picture that cannot be read ends the program, as
  // it would in a handler.
  void SetScale(double scale);

  // --- contents ---
  void SetPicture(const Picture& picture);  // the page background
  const QPixmap& Picture() const { return background_.Natural(); }
  float ScaleX() const { return description_.scaleX; }
  float ScaleY() const { return description_.scaleY; }

  // Controls by name; a name the page does not have is a failure.
  Control& Find(const QString& name, std::optional<int> index = std::nullopt);
  Label& LabelNamed(const QString& name);
  Button& ButtonNamed(const QString& name, std::optional<int> index = std::nullopt);
  ImageBox& ImageNamed(const QString& name);
  Container& ContainerNamed(const QString& name);
  const std::vector<Control*>& Controls() const { return controls_; }
  // The focusable controls in keyboard order.
  std::vector<QWidget*> TabOrder() const;
  // The visible controls in the order a sighted pupil reads them.
  std::vector<Control*> ReadingOrder() const;
  // A label that names a part of a picture: centred over it.
  bool NamesAPart(Control& label) const;
  Button* DefaultButton() const;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseDoubleClickEvent(QMouseEvent*) override;
  void keyPressEvent(QKeyEvent*) override;

 private:
  template <class T>
  T& Named(const QString& name, std::optional<int> index, const char* kind);
  TwipRect ClientArea() const;
  void BuildControls();
  void OrderFocus();
  Control* PictureUnder(Control& label) const;

  const pagedesc::PageDescription& description_;
  FailureSink sink_;
  std::map<QString, Handler> handlers_;
  std::vector<Control*> controls_;  // front to back, as described
  ShownPicture background_;
  double scale_ = 1;
  bool unloaded_ = false;
  QString place_;
};

}  // namespace forms
