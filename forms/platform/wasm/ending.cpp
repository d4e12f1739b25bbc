// The browser: a failure's report is a message box drawn in the page, which the pupil closes;
// the course then ends as a program would, by giving way to the page's own line that says so.
#include <emscripten/val.h>

#include <QMessageBox>
#include <QPointer>

#include "forms/platform/platform.h"

namespace forms {

namespace {

QPointer<QMessageBox>& Report() {
  static QPointer<QMessageBox> report;
  return report;
}

void ShowEnded(int status) {
  const emscripten::val site = emscripten::val::global("lumora");
  if (!site.isUndefined()) site.call<void>("ended", status);
}

}  // namespace

void ShowFailureReport(const QString& text, const QFont& font) {
  // Not exec(): in the browser a box that waits inside the handler would never return.
  auto* box = new QMessageBox(QMessageBox::Critical, QString(), text, QMessageBox::Ok);
  box->setFont(font);
  box->setAttribute(Qt::WA_DeleteOnClose);
  Report() = box;
  box->open();
}

void EndCourse(int status) {
  if (QMessageBox* box = Report()) {
    QObject::connect(box, &QDialog::finished, [status] { ShowEnded(status); });
    return;
  }
  ShowEnded(status);
}

}  // namespace forms
