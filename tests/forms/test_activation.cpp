// Asking for an activation token never holds up the start of the animation: no token where the
// platform is not Wayland or the compositor offers no activation, and none, in bounded time,
// from a compositor that has stopped answering.
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>
#include <csignal>

#include "forms/activation.h"

using namespace std::chrono_literals;

class ActivationTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    window_ = std::make_unique<QWidget>();
    window_->resize(200, 100);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  void cleanup() { window_.reset(); }

  void noTokenOutsideWayland() {
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
      QSKIP("runs on a platform other than Wayland");
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!forms::RequestActivationToken(*window_, QStringLiteral("7optical")));
    QVERIFY(clock.elapsed() < 100);
  }

  // Weston has no xdg-activation: the answer comes from its list of globals, long before the
  // time allowed runs out.
  void noTokenWithoutTheGlobal() {
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
      QSKIP("needs a Wayland compositor without xdg-activation");
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!forms::RequestActivationToken(*window_, QStringLiteral("7optical"), 3000ms));
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
  }

  // A compositor that stops answering costs the time allowed and no more; once it answers
  // again, the course's own connection is as good as before.
  void givesUpOnASilentCompositor() {
    const pid_t compositor = qEnvironmentVariableIntValue("LUMORA_COMPOSITOR_PID");
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")) || compositor <= 0)
      QSKIP("needs the compositor's process (LUMORA_COMPOSITOR_PID)");
    QElapsedTimer clock;
    kill(compositor, SIGSTOP);
    clock.start();
    const auto token = forms::RequestActivationToken(*window_, QStringLiteral("7optical"), 300ms);
    const qint64 waited = clock.elapsed();
    kill(compositor, SIGCONT);
    QVERIFY(!token);
    QVERIFY2(waited >= 290 && waited < 1000, qPrintable(QString::number(waited)));

    QVERIFY(!forms::RequestActivationToken(*window_, QStringLiteral("7optical"), 3000ms));
    QWidget second;
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second));
  }

 private:
  std::unique_ptr<QWidget> window_;
};

QTEST_MAIN(ActivationTest)
#include "test_activation.moc"
