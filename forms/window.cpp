#include "forms/window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "forms/page.h"
#include "forms/platform/platform.h"

namespace forms {

namespace {

// Around a page shown full screen: dark and even, so that the eye stays on the page.
const QColor kBands(32, 32, 32);
constexpr double kSmallestScale = 0.25;

}  // namespace

Window::Window()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  // The pages paint every pixel of it.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  FollowScreenFullScreen(*this);
}

void Window::Freeze() { setUpdatesEnabled(false); }

void Window::Show(Page& page) {
  if (WindowIsScreen())
    CoverScreen();
  else if (!fullScreen_)
    Place(page.size());
  SetTitle(page.Title());
  LayOut(page);
  page.show();
  page_ = &page;
  winId();  // the native window exists from here on
  ClearWindowTitle(*this);
  if (!placed_) Centre();
  setUpdatesEnabled(true);
  if (!isVisible()) {
    if (openFullScreen_) windowHandle()->installEventFilter(this);  // see eventFilter()
    show();
    ClearWindowTitle(*this);
    if (!frame_ && !WindowIsScreen()) CentreWhenFramed();
  }
  activateWindow();
  page.FocusFirst();
  PageShown(*this);
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
  if (!placed_) return;
  const bool centred = geometry().topLeft() == centred_;
  move(pos() + QPoint((old.width() - client.width()) / 2, (old.height() - client.height()) / 2));
  if (centred) centred_ = geometry().topLeft();
}

// Where the window is the screen, it is as large as the screen before the first page is laid
// out in it, so that the page is read at its scale once.
void Window::CoverScreen() {
  placed_ = true;
  if (isVisible()) return;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) setGeometry(screen->geometry());
}

// Centred on the work area of its screen, frame included, once the window manager has said how
// large its frame is.
void Window::Centre() {
  placed_ = true;
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QMargins frame = Frame();
  const QSize outer = size().grownBy(frame);
  const QPoint corner(area.x() + (area.width() - outer.width()) / 2,
                      area.y() + (area.height() - outer.height()) / 2);
  setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), size()));
  centred_ = geometry().topLeft();
}

// A window manager that did not answer in time (the machine busy, or the manager still starting)
// says its frame when it frames the window: the window, centred without it, is centred again,
// unless the pupil has moved it meanwhile. Whoever has not said within a few seconds never will.
void Window::CentreWhenFramed() {
  auto* timer = new QTimer(this);
  timer->setInterval(20);
  connect(timer, &QTimer::timeout, this, [this, timer, tries = 0]() mutable {
    // A window full screen has no frame; the one of the designed window is said after it.
    if (!fullScreen_) frame_ = FrameExtents(*this);
    if (frame_ && !fullScreen_ && geometry().topLeft() == centred_) Centre();
    if (frame_ || ++tries == 250) timer->deleteLater();
  });
  timer->start();
}

// Asked once: the frame the window manager puts around the designed window. A window that can
// be resized gets a wider frame (with handles to drag), so the size is fixed first.
QMargins Window::Frame() {
  if (!frameAsked_) {
    frameAsked_ = true;
    if (minimumSize() != maximumSize()) setFixedSize(size());
    frame_ = RequestFrameExtents(*this);
  }
  return frame_.value_or(QMargins());
}

bool Window::FullScreen() const { return fullScreen_ || (WindowIsScreen() && ScreenFullScreen()); }

double Window::ScaleFor(QSize designed) {
  if (designed.isEmpty()) return 1;
  const double fit =
      std::min(width() / double(designed.width()), height() / double(designed.height()));
  // A screen smaller than the designed page (a small browser window) shows it as large as fits;
  // but no smaller than a quarter: before the browser has laid its page out, the screen can be
  // a few pixels across, and type drawn at that scale has no size at all.
  if (WindowIsScreen()) return std::max(kSmallestScale, FullScreen() ? fit : std::min(1.0, fit));
  if (FullScreen()) return fit;
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return 1;
  // With a large scale factor a small screen has room for less than the designed window; then
  // it is made as large as fits, title bar and buttons on the screen.
  const QSize room = screen->availableGeometry().size().shrunkBy(Frame());
  return std::min(
      {1.0, room.width() / double(designed.width()), room.height() / double(designed.height())});
}

void Window::LayOut(Page& page) {
  if (fullScreen_ || WindowIsScreen()) page.SetScale(ScaleFor(page.DesignSize()));
  page.move((width() - page.width()) / 2, (height() - page.height()) / 2);
}

void Window::ToggleFullScreen() {
  // The screen itself goes full screen; the window follows it, as it follows any change of size.
  if (WindowIsScreen()) return SetScreenFullScreen(!ScreenFullScreen());
  Page* page = Shown();
  if (!fullScreen_) {
    centre_ = geometry().center();
    fullScreen_ = true;
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // The page grows when the window does.
    setWindowState(windowState() | Qt::WindowFullScreen);
    // With no window manager to do it (or one that does not do full screen), the window
    // covers its screen itself.
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen && !WindowSystemMakesFullScreen(*this)) setGeometry(screen->geometry());
    return;
  }
  fullScreen_ = false;
  setWindowState(windowState() & ~Qt::WindowFullScreen);
  if (!page) return;
  page->SetScale(ScaleFor(page->DesignSize()));
  setFixedSize(page->size());
  QRect designed(QPoint(), page->size());
  designed.moveCenter(centre_);
  setGeometry(designed);
  LayOut(*page);
}

// Full screen from the start, as F11 makes it, once the window system shows the designed
// window: a window manager then knows where it comes back to. (Asked for as it was being
// mapped, openbox at times brought the window back at the screen's corner.)
bool Window::eventFilter(QObject* watched, QEvent* e) {
  if (openFullScreen_ && watched == windowHandle() && e->type() == QEvent::Expose &&
      windowHandle()->isExposed()) {
    openFullScreen_ = false;
    windowHandle()->removeEventFilter(this);
    QTimer::singleShot(0, this, [this] {
      if (!fullScreen_) ToggleFullScreen();
    });
  }
  return QWidget::eventFilter(watched, e);
}

void Window::keyPressEvent(QKeyEvent* e) {
  // Reaches the window when no control takes the key: Esc means nothing else on any page.
  const bool toggles = e->key() == Qt::Key_F11 || (e->key() == Qt::Key_Escape && FullScreen());
  if (toggles && !e->isAutoRepeat()) {
    e->accept();
    ToggleFullScreen();
    return;
  }
  QWidget::keyPressEvent(e);
}

void Window::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  if (Page* page = Shown()) LayOut(*page);
}

void Window::paintEvent(QPaintEvent*) {
  // The page paints all of itself; the window only what lies around it, full screen.
  QRegion bands(rect());
  if (const Page* page = Shown()) bands -= page->geometry();
  if (bands.isEmpty()) return;
  QPainter painter(this);
  for (const QRect& r : bands) painter.fillRect(r, kBands);
}

void Window::closeEvent(QCloseEvent* e) {
  e->accept();
  if (const std::function<void()> closed = closed_) closed();
}

}  // namespace forms
