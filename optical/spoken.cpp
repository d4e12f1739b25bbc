#include "optical/spoken.h"

#include <QAccessibleApplication>
#include <QAccessibleWidget>
#include <QApplication>

#include "optical/spiralrenderer.h"
#include "optical/spiralwindow.h"

namespace {

QString Name() { return QStringLiteral("旋轉螺旋動畫"); }

QString Description() {
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(SpiralWindow::kDefaultCue);
  return QStringLiteral(
             "一個不停旋轉的螺旋，螺紋向中心流動，中央有一個紅點。注視紅點約 %1 "
             "秒，紅點周圍的圓圈填滿後，畫面會顯示「%2」按 Esc 鍵可關閉動畫。")
      .arg(seconds.count())
      .arg(SpiralRenderer::MessageText());
}

// The program itself, which Qt would name by its file and describe by its path.
class Program final : public QAccessibleApplication {
 public:
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return Name();
    if (t == QAccessible::Description) return Description();
    return QAccessibleApplication::text(t);
  }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (object && object == qApp) return new Program;
  // A window of its own, which Qt would take for a plain area of one.
  if (className == QLatin1String("SpiralWindow"))
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
  return nullptr;
}

}  // namespace

void DescribeForScreenReaders(SpiralWindow& window) {
  QAccessible::installFactory(Factory);
  window.setAccessibleName(Name());
  window.setAccessibleDescription(Description());
}
