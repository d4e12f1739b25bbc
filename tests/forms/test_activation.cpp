// Asking for an activation token never holds up the start of the animation: no token where the
// platform is not Wayland or the compositor offers no activation, and none, in bounded time,
// from a compositor that has stopped answering.
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QWidget>
#include <csignal>

#include "forms/platform/platform.h"
#include "tests/support/harness.h"
#include "tests/support/main.h"

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
  void cleanup() {
    window_.reset();
    qunsetenv("XDG_ACTIVATION_TOKEN");
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

  // A token the course itself was started with is spent or stale: the animation never gets it,
  // the second time it is started no more than the first, and it still starts from the course
  // folder when there is no token to give. Each start adds its line: two starts writing the
  // same file afresh could leave it empty between them.
  void animationGetsNoTokenButItsOwn() {
    qputenv("XDG_ACTIVATION_TOKEN", "stale");
    testing::Harness h;
    QFile starter(h.File(QStringLiteral("7optical.exe")));
    QVERIFY(starter.open(QIODevice::WriteOnly | QIODevice::Truncate));
    starter.write("#!/bin/sh\necho \"$PWD ${XDG_ACTIVATION_TOKEN-none}\" >> started.txt\n");
    starter.close();
    starter.setPermissions(starter.permissions() | QFile::ExeOwner);
    h.GoTo(QStringLiteral("Form12"));
    h.Click(QStringLiteral("NextStep"));
    h.Click(QStringLiteral("NextStep"));
    const QString expected = h.Folder() + " none";
    QFile started(h.File(QStringLiteral("started.txt")));
    const auto lines = [&] {
      if (!started.open(QIODevice::ReadOnly)) return QStringList();
      const QString text = QString::fromLocal8Bit(started.readAll());
      started.close();
      return text.split(u'\n', Qt::SkipEmptyParts);
    };
    QTRY_COMPARE_WITH_TIMEOUT(lines().size(), 2, 5000);
    QCOMPARE(lines(), QStringList({expected, expected}));
  }

 private:
  std::unique_ptr<QWidget> window_;
};

LUMORA_TEST_MAIN(ActivationTest)
#include "test_activation.moc"
