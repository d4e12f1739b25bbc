#include "forms/accessibility.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <algorithm>

#include "forms/controls.h"
#include "forms/inputhold.h"
#include "forms/page.h"
#include "forms/platform/platform.h"
#include "forms/platform/screenreader.h"
#include "forms/window.h"

namespace forms {

namespace {

QString Spoken(std::string_view s) { return QUtf8StringView(s).toString(); }

// The child at a point of the screen, by the places the children report: they are in the pixels
// a screen reader counts, which Qt's own search does not use.
QAccessibleInterface* ChildAt(const QAccessibleInterface& parent, int x, int y) {
  for (int i = 0; i < parent.childCount(); ++i)
    if (QAccessibleInterface* c = parent.child(i); c && c->rect().contains(x, y)) return c;
  return nullptr;
}

// A press made through the accessibility bus waits in the event queue like the pupil's own
// input, and is held back with it during the blind-spot sweep.
void PressAt(QWidget& widget) { QCoreApplication::postEvent(&widget, new PressRequest); }

// Carries out a press request: a button is clicked, anything else gets a mouse press.
class Presser final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (event->type() != PressRequest::Type()) return false;
    if (auto* button = qobject_cast<QAbstractButton*>(receiver)) {
      if (button->isVisible() && button->isEnabled()) button->click();
    } else if (auto* widget = qobject_cast<QWidget*>(receiver); widget && widget->isVisible()) {
      const QPointF at = QRectF(widget->rect()).center();
      QMouseEvent press(QEvent::MouseButtonPress, at, at, widget->mapToGlobal(at), Qt::LeftButton,
                        Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(widget, &press);
    }
    return true;
  }
};

// The course's window: named after the page shown, which is its one child. The title page's
// press action is here.
class WindowAccessible final : public QAccessibleWidget {
 public:
  explicit WindowAccessible(Window* w) : QAccessibleWidget(w, QAccessible::Window) {}

  QString text(QAccessible::Text t) const override {
    if (Page() && (t == QAccessible::Name || t == QAccessible::Description))
      return QAccessible::queryAccessibleInterface(Page())->text(t);
    return QAccessibleWidget::text(t);
  }
  QRect rect() const override { return ScreenReaderRect(*widget(), QAccessibleWidget::rect()); }
  QAccessibleInterface* childAt(int x, int y) const override { return ChildAt(*this, x, y); }
  int childCount() const override { return Page() ? 1 : 0; }
  QAccessibleInterface* child(int index) const override {
    return index == 0 && Page() ? QAccessible::queryAccessibleInterface(Page()) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child && Page() && child->object() == Page() ? 0 : -1;
  }
  QStringList actionNames() const override {
    return Pressable() ? QStringList{pressAction()} : QStringList();
  }
  void doAction(const QString& action) override {
    if (action == pressAction() && Pressable()) PressAt(*Page());
  }

 private:
  forms::Page* Page() const { return static_cast<Window*>(widget())->Shown(); }
  bool Pressable() const { return Page() && Page()->HasHandler(QStringLiteral("Form_MouseDown")); }
};

// The page shown: a panel named for the pupil, its controls in reading order. A screen reader
// speaks the panel's name as the focus moves into it, which is how a new page is heard.
class PageAccessible final : public QAccessibleWidget {
 public:
  explicit PageAccessible(forms::Page* p) : QAccessibleWidget(p, QAccessible::Pane) {}

  QRect rect() const override { return ScreenReaderRect(*widget(), QAccessibleWidget::rect()); }
  QAccessibleInterface* childAt(int x, int y) const override { return ChildAt(*this, x, y); }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return Page().AccessibleName();
    if (t == QAccessible::Description) return Spoken(Page().Description().spokenDescription);
    return QAccessibleWidget::text(t);
  }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(widget()->window());
  }
  int childCount() const override { return int(Page().ReadingOrder().size()); }
  QAccessibleInterface* child(int index) const override {
    const std::vector<Control*> controls = Page().ReadingOrder();
    if (index < 0 || index >= int(controls.size())) return nullptr;
    return QAccessible::queryAccessibleInterface(&controls[std::size_t(index)]->Widget());
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const std::vector<Control*> controls = Page().ReadingOrder();
    for (std::size_t i = 0; i < controls.size(); ++i)
      if (child && child->object() == &controls[i]->Widget()) return int(i);
    return -1;
  }

 private:
  forms::Page& Page() const { return *static_cast<forms::Page*>(widget()); }
};

// Every control: its name for the pupil, its place in the window, and a press action where a
// click or a mouse press does something.
class ControlAccessible : public QAccessibleWidget {
 public:
  ControlAccessible(QWidget* w, Control& c, QAccessible::Role role)
      : QAccessibleWidget(w, role), control_(c) {}

  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(&control_.OwnPage());
  }
  // Where the control is at the scale in use, in the pixels screen readers count.
  QRect rect() const override { return ScreenReaderRect(*widget(), QAccessibleWidget::rect()); }
  QString text(QAccessible::Text t) const override {
    const pagedesc::ControlDescription& d = control_.Description();
    if (t == QAccessible::Name && !d.labelledBy.empty()) {
      if (auto* label = dynamic_cast<Label*>(&control_.OwnPage().Find(Spoken(d.labelledBy))))
        return label->Caption().trimmed();
    }
    if (t == QAccessible::Description) {
      const QString own =
          d.spokenDescription.empty() ? QAccessibleWidget::text(t) : Spoken(d.spokenDescription);
      if (note_.isEmpty()) return own;
      return own.isEmpty() ? note_ : own + QLatin1Char(' ') + note_;
    }
    return QAccessibleWidget::text(t);
  }
  // Something that appeared on the page while this control had the focus; a screen reader
  // speaks a change to the focused control's description.
  void SetNote(const QString& note) {
    if (note == note_) return;
    note_ = note;
    QAccessibleEvent changed(widget(), QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
  }
  QStringList actionNames() const override {
    QStringList names = QAccessibleWidget::actionNames();
    if (Pressable()) names.prepend(pressAction());
    return names;
  }
  void doAction(const QString& action) override {
    if (action == pressAction() && Pressable())
      PressAt(*widget());
    else
      QAccessibleWidget::doAction(action);
  }

 protected:
  bool Pressable() const {
    if (role() == QAccessible::PushButton) return widget()->isEnabled();
    return control_.OwnPage().HasHandler(control_.Name() + QStringLiteral("_MouseDown"));
  }
  Control& control_;

 private:
  QString note_;
};

class ButtonAccessible final : public ControlAccessible {
 public:
  ButtonAccessible(Button* b) : ControlAccessible(b, *b, QAccessible::PushButton) {}
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name && control_.Description().labelledBy.empty())
      return static_cast<Button*>(widget())->text();
    return ControlAccessible::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = ControlAccessible::state();
    s.defaultButton = static_cast<Button*>(widget())->isDefault();
    return s;
  }
};

// What a label's text is to a reader: the page's heading; a caption that names a part of a
// picture, or a button beside it; or else lesson text, read as a paragraph. (A screen reader
// entering a page speaks its loose captions with the page's name, but not its paragraphs.)
QAccessible::Role TextRole(Label& label) {
  const Page& page = label.OwnPage();
  const std::string_view name = label.Description().name;
  if (name == page.Description().heading) return QAccessible::Heading;
  const auto& controls = page.Description().controls;
  const bool namesAButton = std::any_of(controls.begin(), controls.end(),
                                        [&](const auto& d) { return d.labelledBy == name; });
  return namesAButton || page.NamesAPart(label) ? QAccessible::StaticText : QAccessible::Paragraph;
}

// A label: its caption as its name, and as text a screen reader can read by character and line.
class LabelAccessible final : public ControlAccessible, public QAccessibleTextInterface {
 public:
  explicit LabelAccessible(Label* l) : ControlAccessible(l, *l, QAccessible::StaticText) {}

  QAccessible::Role role() const override { return TextRole(*static_cast<Label*>(widget())); }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return Caption().trimmed();  // not the paragraph's indent
    return ControlAccessible::text(t);
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return ControlAccessible::interface_cast(t);
  }

  // read-only text: no selection, no cursor to move
  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int start, int end) const override { return Caption().mid(start, end - start); }
  int characterCount() const override { return int(Caption().size()); }
  QRect characterRect(int) const override { return QRect(); }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int offset, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    (void)offset;
    return QString();
  }

 private:
  QString Caption() const { return static_cast<Label*>(widget())->Caption(); }
};

// News of the page the pupil is on: a label or a picture that appears, a picture that takes
// another's place, and what a page says itself. Gathered until the handler that made the changes
// is done, so that an explanation and the picture it reveals are told as one, and handed to the
// platform's screen reader; the focus stays where it is.
class Announcer final : public QObject {
 public:
  explicit Announcer(QApplication* app) : QObject(app) {
    setObjectName(Name());
    // Queued: the screen reader hears of the new focus before the old control falls silent.
    connect(app, &QApplication::focusChanged, this, &Announcer::Forget, Qt::QueuedConnection);
  }
  static Announcer* Of(QObject* app) {
    return static_cast<Announcer*>(app->findChild<QObject*>(Name(), Qt::FindDirectChildrenOnly));
  }

  // Told once the handler is done, with what else it changes.
  void Gather(const Page& page, const QString& news) {
    if (news.isEmpty() || !FocusOn(page)) return;
    if (gathered_.isEmpty())
      QMetaObject::invokeMethod(this, &Announcer::TellGathered, Qt::QueuedConnection);
    page_ = &page;
    gathered_ << news;
  }
  // Told now, after anything gathered.
  void Tell(const Page& page, const QString& news) {
    Gather(page, news);
    TellGathered();
  }
  // The focused control describes itself with the news (see SpeakAsDescription).
  void Describe(QWidget& focus, const QString& news) {
    auto* control = dynamic_cast<ControlAccessible*>(QAccessible::queryAccessibleInterface(&focus));
    if (!control) return;
    if (noted_ != &focus) Forget();
    noted_ = &focus;
    control->SetNote(news);
  }

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (event->type() != QEvent::Show) return false;
    if (auto* label = qobject_cast<Label*>(receiver))
      Gather(label->OwnPage(), label->Caption().trimmed());
    else if (auto* image = qobject_cast<ImageBox*>(receiver))
      Gather(image->OwnPage(), image->accessibleName());
    return false;
  }

 private:
  static QString Name() { return QStringLiteral("forms::Announcer"); }

  // While a page loads and comes on screen the focus is not yet on it: what it shows then is
  // read with the page, not told.
  static QWidget* FocusOn(const Page& page) {
    QWidget* focus = QApplication::focusWidget();
    return focus && focus->isVisible() && page.isAncestorOf(focus) ? focus : nullptr;
  }
  void TellGathered() {
    if (gathered_.isEmpty()) return;
    const QString news = gathered_.join(QLatin1Char(' '));
    gathered_.clear();
    if (QWidget* focus = page_ ? FocusOn(*page_) : nullptr) TellScreenReader(*focus, news);
  }
  void Forget() {
    if (!noted_ || noted_ == QApplication::focusWidget()) return;
    if (auto* control =
            dynamic_cast<ControlAccessible*>(QAccessible::queryAccessibleInterface(noted_)))
      control->SetNote(QString());
    noted_.clear();
  }

  QStringList gathered_;
  QPointer<const Page> page_;
  QPointer<QWidget> noted_;
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (!object || !object->isWidgetType()) return nullptr;
  if (className == QLatin1String("forms::Window"))
    return new WindowAccessible(static_cast<Window*>(object));
  if (className == QLatin1String("forms::Page"))
    return new PageAccessible(static_cast<forms::Page*>(object));
  if (className == QLatin1String("forms::Label"))
    return new LabelAccessible(static_cast<Label*>(object));
  if (className == QLatin1String("forms::Button"))
    return new ButtonAccessible(static_cast<Button*>(object));
  if (className == QLatin1String("forms::ImageBox"))
    return new ControlAccessible(static_cast<ImageBox*>(object), *static_cast<ImageBox*>(object),
                                 QAccessible::Graphic);
  // The container holds a program, but is not one: on the bus, whatever has the application's
  // role is the course itself, and a reader walking the page would come back to its top.
  if (className == QLatin1String("forms::Container"))
    return new ControlAccessible(static_cast<Container*>(object), *static_cast<Container*>(object),
                                 QAccessible::Animation);
  return nullptr;
}

}  // namespace

void InstallAccessibility() {
  QAccessible::installFactory(Factory);
  QCoreApplication::instance()->installEventFilter(new Presser(QCoreApplication::instance()));
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
    app->installEventFilter(new Announcer(app));
  MendScreenReaderBridge();
}

void Announce(const Page& page, const QString& news) {
  if (Announcer* announcer = Announcer::Of(QCoreApplication::instance()))
    announcer->Tell(page, news);
}

void PictureChanged(const ImageBox& image) {
  if (Announcer* announcer = Announcer::Of(QCoreApplication::instance());
      announcer && image.isVisible())
    announcer->Gather(image.OwnPage(), image.accessibleName());
}

void SpeakAsDescription(QWidget& focus, const QString& news) {
  if (Announcer* announcer = Announcer::Of(QCoreApplication::instance()))
    announcer->Describe(focus, news);
}

}  // namespace forms
