#include "forms/window.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

#include "forms/page.h"
#include "forms/platform.h"

namespace forms {

Window::Window()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  // The pages paint every pixel of it.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
}

void Window::Freeze() { setUpdatesEnabled(false); }

void Window::Show(Page& page) {
  Place(page.size());
  SetTitle(page.Title());
  setAccessibleName(page.AccessibleName());
  page.move(0, 0);
  page.show();
  page_ = &page;
  winId();  // the native window exists from here on
  ClearWindowTitle(*this);
  if (!placed_) Centre();
  setUpdatesEnabled(true);
  if (!isVisible()) {
    show();
    ClearWindowTitle(*this);
  }
  activateWindow();
  page.FocusFirst();
  // Screen readers hear the new page's name, and read its controls afresh.
  QAccessibleEvent named(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&named);
  QAccessibleEvent reordered(this, QAccessible::ObjectReorder);
  QAccessible::updateAccessibility(&reordered);
}

Page* Window::Shown() const {
  auto* page = qobject_cast<Page*>(page_.data());
  return page && !page->Unloaded() ? page : nullptr;
}

// Qt puts the program's name in place of an empty title; the course's title bar stays empty. On
// X11 the window's properties are cleared behind Qt's back; on Wayland a space shows nothing.
void Window::SetTitle(const QString& title) {
  const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
  setWindowTitle(title.isEmpty() && wayland ? QStringLiteral(" ") : title);
}

void Window::Close() {
  setUpdatesEnabled(true);
  hide();
}

// A fixed frame at the page's size. A window already on screen keeps its centre when a page of
// another size comes, wherever the pupil has put it.
void Window::Place(QSize client) {
  if (size() == client) return;
  const QSize old = size();
  setFixedSize(client);
  if (placed_)
    move(pos() + QPoint((old.width() - client.width()) / 2, (old.height() - client.height()) / 2));
}

// Centred on the work area of its screen, frame included, once the window manager has said how
// large its frame is.
void Window::Centre() {
  placed_ = true;
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QMargins frame = RequestFrameExtents(*this).value_or(QMargins());
  const QSize outer = size().grownBy(frame);
  const QPoint corner(area.x() + (area.width() - outer.width()) / 2,
                      area.y() + (area.height() - outer.height()) / 2);
  setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), size()));
}

void Window::closeEvent(QCloseEvent* e) {
  e->accept();
  if (const std::function<void()> closed = closed_) closed();
}

}  // namespace forms
