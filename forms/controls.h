// The four kinds of control a page is built from. Each keeps its place in twips, as described,
// and is addressed by name (and index, for array elements) from its page's handlers.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <optional>

#include "forms/caption.h"
#include "forms/picture.h"
#include "forms/units.h"
#include "pagedesc/pagedesc.h"

namespace forms {

class Page;

class Control {
 public:
  Control(Page& page, const pagedesc::ControlDescription& d, QWidget& widget);
  virtual ~Control() = default;

  const pagedesc::ControlDescription& Description() const { return description_; }
  Page& OwnPage() const { return page_; }
  const QString& Name() const { return name_; }
  std::optional<int> Index() const { return index_; }
  QWidget& Widget() { return widget_; }
  const TwipRect& Twips() const { return twips_; }

  bool Visible() const;
  void SetVisible(bool visible);

  // Run-time positions are in page units; the page's scale turns them into twips.
  float Left() const;
  float Top() const;
  float Width() const;
  float Height() const;
  void Move(float left, float top);
  // How many times the control has been moved since the page was built.
  unsigned Moves() const { return moves_; }
  // Takes its place at the page's scale, and reads the pictures that scale needs.
  void Rescale();

 protected:
  void SetTwips(const TwipRect& r);
  // What else a control changes at another scale.
  virtual void Rescaled() {}
  // The full name of one of this control's events, "Next_Click"; array elements add their index.
  void RaiseEvent(const char* event);

  Page& page_;

 private:
  const pagedesc::ControlDescription& description_;
  QString name_;
  std::optional<int> index_;
  QWidget& widget_;
  TwipRect twips_;
  unsigned moves_ = 0;
};

class Label final : public QLabel, public Control {
  Q_OBJECT
 public:
  Label(Page& page, const pagedesc::ControlDescription& d);
  void SetCaption(const QString& caption);
  QString Caption() const { return text(); }
  // Pixels from the top of the box to the bottom of the caption's last line.
  qreal CaptionHeight() const;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseDoubleClickEvent(QMouseEvent*) override;

 private:
  QColor colour_;
  Qt::Alignment alignment_;
  const TextStyle* style_;       // shared by every label in the same font
  const CaptionLayout* layout_;  // of the current caption in this box, shared likewise
  // The style drawn in at the scale last painted at, where that is not the designed one.
  const TextStyle* scaledStyle_ = nullptr;
  qreal scaledFor_ = 1;
};

class Button final : public QPushButton, public Control {
  Q_OBJECT
 public:
  Button(Page& page, const pagedesc::ControlDescription& d);
  ~Button() override;
  // Whether the page's description makes this its default button.
  bool IsDefault() const { return isDefault_; }
  // Whether the button has the default look, which marks the button Enter presses: the focused
  // button, or the page's default button while the focus is on no button.
  bool DrawnAsDefault() const;
  bool Graphical() const { return graphical_; }
  void SetPicture(const Picture& picture);
  const QPixmap& Picture() const { return picture_.Natural(); }

 protected:
  void paintEvent(QPaintEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void Rescaled() override;

 private:
  bool HasPageFocus() const;
  void DrawPicture(QStylePainter& painter, const QStyleOptionButton& option);
  void DrawScaledCaption(QStylePainter& painter, const QStyleOptionButton& option,
                         const QString& text);

  QMetaObject::Connection focusWatch_;
  bool isDefault_;
  bool graphical_;
  ShownPicture picture_;
};

class ImageBox final : public QWidget, public Control {
  Q_OBJECT
 public:
  ImageBox(Page& page, const pagedesc::ControlDescription& d);
  // The box takes the picture's natural size and keeps its left and top.
  void SetPicture(const Picture& picture);
  const QPixmap& Picture() const { return picture_.Natural(); }
  // The variant it is drawn from: 1 for the picture itself.
  int Factor() const { return picture_.Factor(); }

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void Rescaled() override;

 private:
  ShownPicture picture_;
};

// Holds a program file; activating it starts that program beside the course.
class Container final : public QFrame, public Control {
  Q_OBJECT
 public:
  Container(Page& page, const pagedesc::ControlDescription& d);
  void CreateFromFile(const QString& path);
  void Activate();
  const QString& File() const { return file_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void changeEvent(QEvent*) override;

 private:
  QString file_;
};

}  // namespace forms
