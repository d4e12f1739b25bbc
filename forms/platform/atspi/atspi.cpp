// The screen-reader bridge on Linux (AT-SPI over D-Bus), where Qt 6.4's own falls short:
//
// - A course started before the screen reader stays off the accessibility bus for good. Qt reads
//   the desktop's org.a11y.Status once, as it starts, and never again ("QtDbus doesn't support
//   notifications for property changes yet", its dbusconnection.cpp); and under X11, where the
//   bus launcher leaves the bus's address on the root window, its watcher connects and says so
//   before the bridge listens (below). The course listens for the status itself, brings the
//   bridge up, and tells the screen reader where the pupil is.
// - Its name and description changes carry a reference to the object where AT-SPI carries the
//   new text (atspiadaptor.cpp), and Orca drops them; a control that appears changes "showing"
//   but not "visible", and its page's children change without a word. The course sends these
//   as AT-SPI has them.
// - Orca 43 reads a window whole (its flat review, the keypad's + twice) from a copy it makes
//   the first time and keeps until the focus moves: an explanation that appears afterwards is
//   not in it. The course has Orca make a new copy whenever it tells news of the page.
#include <QtGui/private/dbusconnection_p.h>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/private/qspiaccessiblebridge_p.h>
#include <qpa/qplatformintegration.h>

#include <QAccessible>
#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "forms/accessibility.h"
#include "forms/page.h"
#include "forms/platform/screenreader.h"

namespace forms::atspi {

// The (so) reference to the application that ends every AT-SPI event.
struct Reference {
  QString service;
  QDBusObjectPath path;
};

QDBusArgument& operator<<(QDBusArgument& a, const Reference& r) {
  a.beginStructure();
  a << r.service << r.path;
  a.endStructure();
  return a;
}

const QDBusArgument& operator>>(const QDBusArgument& a, Reference& r) {
  a.beginStructure();
  a >> r.service >> r.path;
  a.endStructure();
  return a;
}

}  // namespace forms::atspi

Q_DECLARE_METATYPE(forms::atspi::Reference)

// Qt keeps its status watcher private to the bridge. An explicit instantiation may name a
// private member, which is how the course reaches it; the compiler still checks its type.
// (Only as a QObject: Qt does not export the watcher's class.)
template <DBusConnection* QSpiAccessibleBridge::*Member>
struct StatusWatcherOf {
  friend QObject* StatusWatcher(QSpiAccessibleBridge& bridge) { return bridge.*Member; }
};
template struct StatusWatcherOf<&QSpiAccessibleBridge::dbusConnection>;
QObject* StatusWatcher(QSpiAccessibleBridge& bridge);

namespace forms {

namespace {

const QString kRoot = QStringLiteral("/org/a11y/atspi/accessible/root");

QSpiAccessibleBridge* Bridge() {
  QPlatformIntegration* integration = QGuiApplicationPrivate::platformIntegration();
  return integration ? dynamic_cast<QSpiAccessibleBridge*>(integration->accessibility()) : nullptr;
}

// The object's path on the bus, as the bridge gives it.
QString PathOf(QAccessibleInterface& object) {
  if (object.role() == QAccessible::Application) return kRoot;
  return QStringLiteral("/org/a11y/atspi/accessible/%1").arg(QAccessible::uniqueId(&object));
}

// One AT-SPI object event, as the bridge would send it: kind, detail, value and the
// application's reference.
void Send(const QDBusConnection& bus, QAccessibleInterface& object, const QString& member,
          const QString& kind, int detail, const QVariant& value) {
  QDBusMessage signal = QDBusMessage::createSignal(
      PathOf(object), QStringLiteral("org.a11y.atspi.Event.Object"), member);
  signal << kind << detail << 0 << QVariant::fromValue(QDBusVariant(value))
         << QVariant::fromValue(atspi::Reference{bus.baseService(), QDBusObjectPath(kRoot)});
  bus.send(signal);
}

QVariant ReferenceTo(const QDBusConnection& bus, QAccessibleInterface& object) {
  return QVariant::fromValue(atspi::Reference{bus.baseService(), QDBusObjectPath(PathOf(object))});
}

// A control that appears on the page shown or goes away from it is a child added to the page or
// removed from it, at its place in reading order: a reader that keeps the page's children
// (libatspi's cache) keeps them right. A page still loading is not on the screen reader's tree.
void ChildrenChanged(const QDBusConnection& bus, QAccessibleInterface& control, bool added) {
  QAccessibleInterface* page = control.parent();
  auto* shown = page ? qobject_cast<Page*>(page->object()) : nullptr;
  if (!shown || !shown->isVisible()) return;
  const int index = added ? page->indexOfChild(&control) : -1;  // gone: the reader knows where
  if (added && index < 0) return;
  Send(bus, *page, QStringLiteral("ChildrenChanged"),
       added ? QStringLiteral("add") : QStringLiteral("remove"), index, ReferenceTo(bus, control));
}

// Every change the course reports passes here on its way to the bridge. Name and description
// changes go with their text; a control that appears or goes away changes "visible" as well as
// "showing" (the bridge sends only the latter, and a reader that read the states of a hidden
// control goes on thinking it hidden), and its page's children.
void Notify(QAccessibleEvent* event) {
  QSpiAccessibleBridge* bridge = Bridge();
  if (!bridge) return;
  QAccessibleInterface* object = event->accessibleInterface();
  const QDBusConnection bus = bridge->dBusConnection();
  if (!object || !bridge->isActive() || !bus.isConnected())
    return bridge->notifyAccessibilityUpdate(event);
  const QString change = QStringLiteral("PropertyChange");
  switch (event->type()) {
    case QAccessible::NameChanged:
      return Send(bus, *object, change, QStringLiteral("accessible-name"), 0,
                  object->text(QAccessible::Name));
    case QAccessible::DescriptionChanged:
      return Send(bus, *object, change, QStringLiteral("accessible-description"), 0,
                  object->text(QAccessible::Description));
    case QAccessible::ObjectShow:
    case QAccessible::ObjectHide: {
      const bool shown = event->type() == QAccessible::ObjectShow;
      bridge->notifyAccessibilityUpdate(event);
      Send(bus, *object, QStringLiteral("StateChanged"), QStringLiteral("visible"), shown, 0);
      return ChildrenChanged(bus, *object, shown);
    }
    default: return bridge->notifyAccessibilityUpdate(event);
  }
}

// Brings the bridge up when the desktop says a screen reader has come. Qt finds the bus in two
// ways: through the session bus, reading the status once and connecting if it is on; and
// through the address the bus launcher leaves on the X root window, connecting at once. That
// second way says so from inside the watcher's constructor, before the bridge listens: the
// watcher counts as enabled, the bridge stays off, and no later change of the status is news
// to the watcher.
class StatusListener final : public QObject {
  Q_OBJECT
 public:
  StatusListener(QSpiAccessibleBridge& bridge, QObject* parent)
      : QObject(parent), bridge_(bridge), watcher_(StatusWatcher(bridge)) {
    QDBusConnection::sessionBus().connect(
        QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"),
        this, SLOT(Changed(QString, QVariantMap, QStringList)));
  }

 private slots:
  void Changed(const QString& interface, const QVariantMap& changed, const QStringList&) {
    const bool on = changed.value(QStringLiteral("ScreenReaderEnabled")).toBool() ||
                    changed.value(QStringLiteral("IsEnabled")).toBool();
    if (interface != QLatin1String("org.a11y.Status") || !on || bridge_.isActive() || !watcher_)
      return;
    // Connected, the watcher is enabled (it connects only then) and has said so before anyone
    // listened; not connected, it reads the status again and connects.
    if (bridge_.dBusConnection().isConnected())
      bridge_.enabledChanged(true);
    else
      QMetaObject::invokeMethod(watcher_, "serviceRegistered");
  }

 private:
  QSpiAccessibleBridge& bridge_;
  QPointer<QObject> watcher_;
};

// A screen reader that arrives while the course is on screen hears where the pupil is: the
// active window, then the control with the focus. Nothing moves.
class Greeter final : public QAccessible::ActivationObserver {
 public:
  void accessibilityActiveChanged(bool active) override {
    // Queued: the bridge puts the course on the bus after telling of the change.
    if (active) QTimer::singleShot(0, qApp, &Greeter::Greet);
  }

 private:
  static void Greet() {
    QWidget* window = QApplication::activeWindow();
    if (!window || !QAccessible::isActive()) return;
    QAccessible::State activated;
    activated.active = true;
    QAccessibleStateChangeEvent shown(window, activated);
    QAccessible::updateAccessibility(&shown);
    if (QWidget* focus = QApplication::focusWidget()) {
      QAccessibleEvent focused(focus, QAccessible::Focus);
      QAccessible::updateAccessibility(&focused);
    }
  }
};

}  // namespace

void TellScreenReader(QWidget& focus, const QString& news) {
  SpeakAsDescription(focus, news);
  QSpiAccessibleBridge* bridge = Bridge();
  QAccessibleInterface* focused = QAccessible::queryAccessibleInterface(&focus);
  if (!bridge || !focused || !bridge->isActive() || !bridge->dBusConnection().isConnected()) return;
  // Orca 43 keeps its copy of the window for flat review until the focus moves, the window is
  // left, or the caret moves in the focused object; of these only the last moves nothing on the
  // screen and makes Orca say nothing, so that is what the course sends. (Orca then finds no text
  // in the button and notes so in its debug log.) New children of the page it does not heed.
  Send(bridge->dBusConnection(), *focused, QStringLiteral("TextCaretMoved"), QString(), 0, 0);
}

void MendScreenReaderBridge() {
  QSpiAccessibleBridge* bridge = Bridge();
  if (!bridge) return;
  qDBusRegisterMetaType<atspi::Reference>();
  QAccessible::installUpdateHandler(Notify);
  new StatusListener(*bridge, qApp);
  static Greeter greeter;
  QAccessible::installActivationObserver(&greeter);
}

}  // namespace forms

#include "atspi.moc"
