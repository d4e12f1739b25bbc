// The animation program: the spiral turned by its angle, the angle by the clock, the cue and
// its message, Esc, and a program that ignores its arguments and writes nothing.
#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "optical/spiralrenderer.h"
#include "optical/spiralwindow.h"

using namespace std::chrono_literals;

namespace {

QImage RenderFrame(SpiralRenderer& renderer, QSize size, qreal dpr, double angle, double progress) {
  renderer.Resize(size, dpr);
  QImage image(int(size.width() * dpr), int(size.height() * dpr), QImage::Format_RGB32);
  image.setDevicePixelRatio(dpr);
  QPainter painter(&image);
  renderer.Render(painter, angle, progress);
  return image;
}

// Grey level at a logical position: r pixels from the centre, deg clockwise from three o'clock.
int GreyAt(const QImage& image, QPointF centre, double r, double deg) {
  const double a = deg * std::numbers::pi / 180.0;
  const qreal dpr = image.devicePixelRatio();
  const int x = std::clamp(int((centre.x() + r * std::cos(a)) * dpr), 0, image.width() - 1);
  const int y = std::clamp(int((centre.y() + r * std::sin(a)) * dpr), 0, image.height() - 1);
  return qGray(image.pixel(x, y));
}

int PixelsBrighterThan(const QImage& image, const QRectF& logical, int grey) {
  const qreal dpr = image.devicePixelRatio();
  const QRect r = QRectF(logical.topLeft() * dpr, logical.size() * dpr)
                      .toAlignedRect()
                      .intersected(image.rect());
  int count = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) count += qGray(image.pixel(x, y)) > grey;
  return count;
}

// Reads the window's clock as each paint event reaches it, before the frame is drawn.
class PaintStart final : public QObject {
 public:
  explicit PaintStart(SpiralWindow& window) : window_(window) { window.installEventFilter(this); }
  double Ms() const { return ms_; }

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (receiver == &window_ && event->type() == QEvent::Paint) ms_ = window_.ElapsedMs();
    return false;
  }

 private:
  SpiralWindow& window_;
  double ms_ = 0;
};

}  // namespace

class TestOptical : public QObject {
  Q_OBJECT
 private slots:
  void frameIsTheSpiralTurnedByTheAngle_data() {
    QTest::addColumn<qreal>("dpr");
    QTest::newRow("1x") << qreal(1.0);
    QTest::newRow("2x") << qreal(2.0);
  }

  void frameIsTheSpiralTurnedByTheAngle() {
    QFETCH(qreal, dpr);
    SpiralRenderer renderer;
    const double turn = 37.0;  // not a multiple of the arms' symmetry
    const QImage before = RenderFrame(renderer, QSize(400, 400), dpr, 10.0, 0.0);
    const QImage after = RenderFrame(renderer, QSize(400, 400), dpr, 10.0 + turn, 0.0);
    const QPointF c = renderer.Centre();

    // What was at (r, phi) is now at (r, phi + turn), clockwise on screen.
    double turned = 0, unturned = 0;
    int samples = 0, dark = 0, light = 0;
    for (double r = 40; r <= 180; r += 7) {
      for (double phi = 0; phi < 360; phi += 5, ++samples) {
        const int was = GreyAt(before, c, r, phi);
        turned += std::abs(GreyAt(after, c, r, phi + turn) - was);
        unturned += std::abs(GreyAt(after, c, r, phi) - was);
        dark += was < 64;
        light += was > 192;
      }
    }
    QVERIFY2(turned / samples < 8, qPrintable(QString::number(turned / samples)));
    QVERIFY2(unturned / samples > 50, qPrintable(QString::number(unturned / samples)));
    // Stripes, not a flat field.
    QVERIFY(dark > samples / 4 && light > samples / 4);
  }

  void cueRingThenMessage_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("600") << QSize(600, 600);
    QTest::newRow("smallest") << QSize(240, 240);
  }

  void cueRingThenMessage() {
    QFETCH(QSize, size);
    SpiralRenderer renderer;
    const QImage none = RenderFrame(renderer, size, 1.0, 33.0, 0.0);
    const QImage half = RenderFrame(renderer, size, 1.0, 33.0, 0.5);
    const QImage almost = RenderFrame(renderer, size, 1.0, 33.0, 0.999);
    const QImage done = RenderFrame(renderer, size, 1.0, 33.0, 1.0);
    const QPointF c = renderer.Centre();
    const double r = SpiralRenderer::kCueRingRadius;

    // The ring fills clockwise from twelve o'clock: at half time, the right half
    // is lit and the left is not. It stays quiet, darker than the light stripes.
    for (double deg : {-45.0, 45.0})
      QVERIFY(GreyAt(half, c, r, deg) > GreyAt(none, c, r, deg) + 20);
    for (double deg : {135.0, 225.0}) QCOMPARE(GreyAt(half, c, r, deg), GreyAt(none, c, r, deg));
    QVERIFY(GreyAt(done, c, r, 225) > GreyAt(none, c, r, 225) + 20);
    QVERIFY(GreyAt(done, c, r, 225) < 200);
    const QRgb dot = done.pixel(c.toPoint());
    QVERIFY(qRed(dot) > 180 && qGreen(dot) < 80 && qBlue(dot) < 80);

    // The message fits the window, close under the centre point, and appears only at the end:
    // a light box (brighter than any stripe) with dark text on it.
    const QRectF box = renderer.MessageRect();
    QVERIFY(QRectF(QPointF(0, 0), QSizeF(size)).contains(box));
    QVERIFY(box.top() > c.y() && box.bottom() < c.y() + size.height() / 4.0);
    QCOMPARE(PixelsBrighterThan(almost, box, 240), 0);
    const int area = int(box.width() * box.height());
    QVERIFY(PixelsBrighterThan(done, box, 240) > area / 2);
    QVERIFY(PixelsBrighterThan(done, box, 100) < area - area / 20);
  }

  // Each frame shows the turn of the moment it is painted, by the window's own clock, however the
  // frames are spaced: after a stall the spiral catches up instead of stepping on from where it
  // was. Every check brackets a reading between two others, so a busy machine cannot make it fail.
  void eachFrameShowsTheTurnOfItsMoment() {
    SpiralWindow window(30s);
    PaintStart paintStart(window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    struct Frame {
      double angle, paintStartMs, paintedMs;  // the window's clock
      double testBeforeMs, testAfterMs;       // the test's clock around paintedMs
    };
    std::vector<Frame> frames;
    constexpr std::size_t kStalls[] = {10, 20};
    constexpr unsigned long kStallMs = 150;
    QElapsedTimer clock;
    clock.start();
    connect(&window, &SpiralWindow::framePainted, &window, [&] {
      Frame f{window.LastPaintedAngle(), paintStart.Ms(), 0, double(clock.nsecsElapsed()) / 1e6, 0};
      f.paintedMs = window.ElapsedMs();
      f.testAfterMs = double(clock.nsecsElapsed()) / 1e6;
      frames.push_back(f);
      // The event loop held up, as by a busy machine.
      if (std::find(std::begin(kStalls), std::end(kStalls), frames.size()) != std::end(kStalls))
        QThread::msleep(kStallMs);
    });
    QTRY_VERIFY_WITH_TIMEOUT(frames.size() >= 30, 20000);

    const double degreesPerMs = SpiralWindow::kDegreesPerSecond / 1000.0;
    const double eps = 1e-6;
    for (const Frame& f : frames) {
      const double shownMs = f.angle / degreesPerMs;
      QVERIFY2(shownMs >= f.paintStartMs - eps && shownMs <= f.paintedMs + eps,
               qPrintable(QStringLiteral("frame at %1 ms shows the turn of %2 ms")
                              .arg(f.paintedMs)
                              .arg(shownMs)));
    }
    for (std::size_t i : kStalls)
      QVERIFY(frames[i].angle - frames[i - 1].angle >= kStallMs * degreesPerMs);
    // The window's clock runs at real time.
    const Frame &first = frames.front(), &last = frames.back();
    const double programSpan = last.paintedMs - first.paintedMs;
    QVERIFY(programSpan >= last.testBeforeMs - first.testAfterMs - eps);
    QVERIFY(programSpan <= last.testAfterMs - first.testBeforeMs + eps);
  }

  // Only Esc ends the animation, and the event loop with 0. When the press went elsewhere while
  // the window was taking the focus, only the release reaches the window: that Esc closes it too.
  void escapeEndsTheEventLoopWithZero() {
    SpiralWindow window(30s);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_A, Qt::Key_Return}) {
      QTest::keyClick(&window, key);
      QTest::keyRelease(&window, key);
    }
    QVERIFY(window.isVisible());
    QTimer::singleShot(200, &window, [&] { QTest::keyClick(&window, Qt::Key_Escape); });
    QTimer::singleShot(5000, &window, [] { QCoreApplication::exit(99); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!window.isVisible());

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyRelease(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
  }

  void cueCompletesItsDurationAfterShow() {
    SpiralWindow window(400ms);
    QTest::qWait(300);  // time before the window is shown does not count
    QElapsedTimer clock;
    clock.start();  // just before: showing takes its time on some platforms
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!window.CueComplete());
    QTRY_VERIFY_WITH_TIMEOUT(window.CueComplete(), 3000);
    QVERIFY(clock.elapsed() >= 400);
    const QRectF box = window.MessageRect();  // and the message shows on the window
    QVERIFY(PixelsBrighterThan(window.grab().toImage(), box, 240) > box.width() * box.height() / 2);
  }

  void programRunsIgnoringArgumentsAndWritesNothing() {
    const QString bin = qEnvironmentVariable("LUMORA_BIN");
    QVERIFY2(!bin.isEmpty(), "LUMORA_BIN is not set");
    QTemporaryDir work, config, data;
    QVERIFY(work.isValid() && config.isValid() && data.isValid());
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", config.path());
    env.insert("XDG_DATA_HOME", data.path());
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(work.path());
    // Even arguments Qt itself would act on are ignored.
    process.start(bin + "/7optical.exe", {"--bogus", "-platform", "nonexistent"});
    QVERIFY(process.waitForStarted(5000));
    QVERIFY2(!process.waitForFinished(1000), qPrintable(process.readAllStandardError()));
    process.kill();
    QVERIFY(process.waitForFinished(5000));

    for (const QTemporaryDir* dir : {&work, &config, &data}) {
      QDirIterator it(dir->path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                      QDirIterator::Subdirectories);
      QVERIFY2(!it.hasNext(), qPrintable(it.hasNext() ? it.next() : QString()));
    }
  }
};

QTEST_MAIN(TestOptical)
#include "test_optical.moc"
