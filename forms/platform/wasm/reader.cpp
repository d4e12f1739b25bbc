// The browser's screen readers read the page's document, not Qt's drawing: what the course tells
// screen readers on a desktop (its windows, the page by its name, texts in reading order,
// pictures by what they show, buttons that can be pressed) is written into the page, where the
// browser's accessibility tree takes it up, whenever it changes. A press on one of those buttons
// (a screen reader's click) comes back as the press action of the control it stands for.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <QAccessible>
#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "forms/accessibility.h"
#include "forms/platform/screenreader.h"
#include "forms/window.h"

namespace forms {

namespace {

QString RoleName(QAccessible::Role role) {
  switch (role) {
    case QAccessible::Window: return QStringLiteral("window");
    case QAccessible::Dialog:
    case QAccessible::AlertMessage: return QStringLiteral("dialog");
    case QAccessible::Pane: return QStringLiteral("region");
    case QAccessible::Heading: return QStringLiteral("heading");
    case QAccessible::Paragraph: return QStringLiteral("paragraph");
    case QAccessible::StaticText: return QStringLiteral("text");
    case QAccessible::Graphic: return QStringLiteral("image");
    case QAccessible::PushButton: return QStringLiteral("button");
    case QAccessible::Animation: return QStringLiteral("animation");
    default: return QStringLiteral("group");
  }
}

QJsonObject Node(QAccessibleInterface& node) {
  const QRect r = node.rect();
  QJsonObject o{{QStringLiteral("id"), QString::number(QAccessible::uniqueId(&node))},
                {QStringLiteral("role"), RoleName(node.role())},
                {QStringLiteral("name"), node.text(QAccessible::Name)},
                {QStringLiteral("description"), node.text(QAccessible::Description)},
                {QStringLiteral("x"), r.x()},
                {QStringLiteral("y"), r.y()},
                {QStringLiteral("w"), r.width()},
                {QStringLiteral("h"), r.height()}};
  const QAccessible::State state = node.state();
  if (state.focused) o.insert(QStringLiteral("focused"), true);
  if (state.defaultButton) o.insert(QStringLiteral("default"), true);
  const QAccessibleActionInterface* actions = node.actionInterface();
  if (actions && actions->actionNames().contains(QAccessibleActionInterface::pressAction()))
    o.insert(QStringLiteral("press"), true);
  QJsonArray children;
  for (int i = 0; i < node.childCount(); ++i) {
    QAccessibleInterface* child = node.child(i);
    if (child && child->isValid() && !child->state().invisible) children.append(Node(*child));
  }
  if (!children.isEmpty()) o.insert(QStringLiteral("children"), children);
  return o;
}

// Every window on the screen, the course's first and what lies over it after (a report, the
// animation), the active one last.
QByteArray Tree() {
  QList<QWidget*> tops = QApplication::topLevelWidgets();
  const auto rank = [](const QWidget* w) {
    return qobject_cast<const Window*>(w) ? 0 : w->isActiveWindow() ? 2 : 1;
  };
  std::stable_sort(tops.begin(), tops.end(),
                   [&](const QWidget* a, const QWidget* b) { return rank(a) < rank(b); });
  QJsonArray windows;
  for (QWidget* top : tops) {
    if (!top->isVisible()) continue;
    if (QAccessibleInterface* node = QAccessible::queryAccessibleInterface(top))
      windows.append(Node(*node));
  }
  return QJsonDocument(windows).toJson(QJsonDocument::Compact);
}

// Looks a few times a second, and writes only what changed: a page change, an explanation that
// appears, a picture that gives way to the next, a dialog. A new page is looked at at once.
class Mirror final : public QObject {
 public:
  explicit Mirror(QObject* parent) : QObject(parent) {
    connect(&timer_, &QTimer::timeout, this, &Mirror::Look);
    timer_.start(200);
    instance_ = this;
  }
  ~Mirror() override { instance_ = nullptr; }

  static void LookSoon() {
    if (instance_) QTimer::singleShot(0, instance_, &Mirror::Look);
  }

 private:
  void Look() {
    const QByteArray tree = Tree();
    if (tree == written_) return;
    written_ = tree;
    const emscripten::val site = emscripten::val::global("lumora");
    if (!site.isUndefined()) site.call<void>("read", std::string(tree.constData(), tree.size()));
  }

  QTimer timer_;
  QByteArray written_;
  static inline Mirror* instance_ = nullptr;
};

void Press(const std::string& id) {
  bool ok = false;
  const auto unique = QAccessible::Id(QString::fromStdString(id).toUInt(&ok));
  QAccessibleInterface* node = ok ? QAccessible::accessibleInterface(unique) : nullptr;
  if (!node || !node->isValid()) return;
  if (QAccessibleActionInterface* actions = node->actionInterface())
    actions->doAction(QAccessibleActionInterface::pressAction());
}

}  // namespace

void MendScreenReaderBridge() { new Mirror(QCoreApplication::instance()); }

void PageShown(QWidget&) {
  const emscripten::val site = emscripten::val::global("lumora");
  if (!site.isUndefined()) site.call<void>("shown");
  Mirror::LookSoon();
}

// Said through the page's live region (packaging/web/reader.js), which says a new page's name
// and a report itself. The focused control's description carries it too, as on the desktop,
// for a reader that reads the control again.
void TellScreenReader(QWidget& focus, const QString& news) {
  SpeakAsDescription(focus, news);
  const emscripten::val site = emscripten::val::global("lumora");
  if (!site.isUndefined()) site.call<void>("say", news.toStdString());
}

}  // namespace forms

EMSCRIPTEN_BINDINGS(lumora_reader) { emscripten::function("lumoraPress", &forms::Press); }
