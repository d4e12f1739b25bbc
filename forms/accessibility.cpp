#include "forms/accessibility.h"

#include <QAccessibleWidget>

#include "forms/controls.h"

namespace forms {

namespace {

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className == QLatin1String("forms::ImageBox") && object && object->isWidgetType())
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
  if (className == QLatin1String("forms::Container") && object && object->isWidgetType())
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Application);
  return nullptr;
}

}  // namespace

void InstallAccessibility() { QAccessible::installFactory(Factory); }

}  // namespace forms
