// Bad files and odd folders. Every file the course reads is spoilt in every way we know of, one
// file and one way at a time; the course is then walked over every page that does not need the
// file, and on to the first page or button that does. Each case runs in a child process of its
// own, so that a crash or a hang ends that case only, and is seen as what it is.
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <cerrno>
#include <functional>

#include "content/assets.h"
#include "tests/faults/gif.h"
#include "tests/support/coursemap.h"
#include "tests/support/harness.h"
#include "tests/support/main.h"

using testing::Harness;

namespace {

#ifdef __SANITIZE_ADDRESS__
constexpr int kCaseLimitMs = 20000;  // the sanitizers slow every case several times over
#else
constexpr int kCaseLimitMs = 5000;
#endif

QString FileName(std::string_view asset) {
  return QString::fromUtf8(asset.data(), static_cast<qsizetype>(asset.size())).mid(1);
}

// A picture's file, or the file of its drawing `factor` times as fine.
QString VariantFile(std::string_view asset, int factor) {
  return factor == 1 ? FileName(asset) : FileName(content::VariantName(asset, factor));
}

// --- spoilt files ---

// A small picture of one colour in the given format.
QByteArray Encoded(QSize size, Qt::GlobalColor colour, const char* format) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(colour);
  QByteArray b;
  QBuffer buffer(&b);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return b;
}

QByteArray Jpeg(int width, int height) {
  QByteArray b = Encoded(QSize(16, 16), Qt::darkCyan, "JPEG");
  // The frame header states the size: FF C0, length, precision, height, width.
  const qsizetype sof = b.indexOf(QByteArray("\xff\xc0", 2));
  b[sof + 5] = char(height >> 8);
  b[sof + 6] = char(height & 0xff);
  b[sof + 7] = char(width >> 8);
  b[sof + 8] = char(width & 0xff);
  return b;
}

// Copies the built course folder, every file readable by any account.
bool CopyCourse(const QString& folder) {
  const QDir built(testing::BuiltCourseFolder());
  for (const QString& name : built.entryList(QDir::Files)) {
    const QString to = folder + '/' + name;
    if (!QFile::copy(built.filePath(name), to) ||
        !QFile::setPermissions(to, QFile::permissions(built.filePath(name)) | QFile::ReadOther))
      return false;
  }
  return true;
}

bool Write(const QString& path, const QByteArray& data) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

// A program for the animation's place: notes that it ran, then fails at once.
bool WriteFailingProgram(const QString& path) {
  return Write(path, "#!/bin/sh\necho ran >> \"$PWD/ran.txt\"\nexit 3\n") &&
         QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Ends the child's root rights for good: as 'nobody' a file without read permission really
// cannot be read, where root reads it regardless of its mode.
QString BecomeNobody() {
  if (geteuid() != 0) return {};
  const passwd* pw = getpwnam("nobody");
  if (!pw) return QStringLiteral("no user 'nobody' to drop to");
  if (setgroups(0, nullptr) != 0 || setgid(pw->pw_gid) != 0 || setuid(pw->pw_uid) != 0)
    return QStringLiteral("could not become 'nobody': %1").arg(qt_error_string(errno));
  return {};
}

// Spoils a file of the course folder; says why it could not.
QString Spoil(const QString& path, const QString& damage) {
  QFile original(path);
  QByteArray content;
  if (original.open(QIODevice::ReadOnly)) content = original.readAll();
  original.close();
  if (!QFile::remove(path)) return QStringLiteral("could not remove ") + path;
  const bool gif = path.endsWith(QLatin1String(".gif"));
  bool ok = true;
  if (damage == "missing") {
  } else if (damage == "empty") {
    ok = Write(path, {});
  } else if (damage == "truncated") {
    ok = Write(path, content.left(content.size() / 2));
  } else if (damage == "random bytes") {
    QByteArray noise(4096, '\0');
    QRandomGenerator random(qHash(path.section('/', -1)));
    for (char& c : noise) c = char(random.bounded(256));
    ok = Write(path, noise);
  } else if (damage == "png") {
    ok = Write(path, Encoded(QSize(40, 30), Qt::yellow, "PNG"));
  } else if (damage == "other kind") {
    ok = Write(path, gif ? Jpeg(16, 16) : testing::Gif(1, 1, 1, 1));
  } else if (damage == "directory") {
    ok = QDir().mkdir(path);
  } else if (damage == "unreadable") {
    ok = Write(path, content) && ::chmod(QFile::encodeName(path).constData(), 0) == 0;
    // The means must really deny the read, or the case proves nothing.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd >= 0) {
      ::close(fd);
      return QStringLiteral("the file can still be read");
    }
  } else if (damage == "bomb") {
    ok = Write(path, gif ? testing::Gif(65535, 65535, 65535, 65535) : Jpeg(65535, 65535));
  } else if (damage == "link loop") {
    const QString other = path + QStringLiteral(".loop");
    ok = QFile::link(path.section('/', -1), other) && QFile::link(other.section('/', -1), path);
  } else if (damage == "not executable") {
    ok = Write(path, content);  // written afresh, without the execute bits
  } else if (damage == "fails at once") {
    ok = WriteFailingProgram(path);
  } else if (damage == "not a program") {
    ok = Write(path, QByteArray(2048, '\x5a')) &&
         QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
  } else {
    return QStringLiteral("unknown damage ") + damage;
  }
  return ok ? QString() : QStringLiteral("could not spoil ") + path;
}

// --- checks on the driven course ---

QString Check(const Harness& h, bool condition, const QString& what) {
  if (condition) return {};
  return QStringLiteral("%1 (on %2, status %3, reports: %4)")
      .arg(what, h.PageName().isEmpty() ? QStringLiteral("no page") : h.PageName(),
           h.Status() ? QString::number(*h.Status()) : QStringLiteral("none"),
           h.Reports().join(QStringLiteral(" | ")));
}

// The page is up and whole.
QString Works(const Harness& h, const QString& page, const QString& after) {
  QString e = Check(h, !h.Status() && h.Reports().isEmpty(), "the course failed " + after);
  if (e.isEmpty()) e = Check(h, h.PageName() == page, page + " is not shown " + after);
  if (e.isEmpty())
    e = Check(h, h.Page()->isVisible() && h.VisiblePages() == 1,
              "not exactly one page on screen " + after);
  if (!e.isEmpty()) return e;
  for (forms::Control* c : h.Page()->Controls())
    if (auto* image = dynamic_cast<forms::ImageBox*>(c); image && image->Picture().isNull())
      return Check(h, false, c->Name() + " has no picture " + after);
  return {};
}

// Where a spoilt file is first needed: pages that read it at load, or a button that reads it.
struct Need {
  QStringList pages;
  std::optional<coursemap::ButtonNeed> button;
};

// What was on the screen behind the report, at the moment it was made: a page whose load
// failed is not shown, and the page before it is gone; a button's page stays as its handler left
// it (Explain shows the explanation before it reads the picture that fails).
QString SeenBehindReport(const Harness& h, const Need& need) {
  const Harness::Screen& seen = h.AtReport();
  const QString shown = seen.page.isEmpty() ? QStringLiteral("no page") : seen.page;
  if (!need.button) return Check(h, seen.page.isEmpty(), shown + " behind the report of a load");
  const QString page = need.button->page, button = need.button->button;
  QString e = Check(h, seen.page == page, shown + " behind the report, not " + page);
  if (e.isEmpty() && button == QLatin1String("Explain"))
    e = Check(h, seen.controls.contains(QStringLiteral("Label2")),
              "the explanation was not shown behind the report");
  return e;
}

// The course reported an error that names the file, and ended with status 1 and no page left.
QString Failed(const Harness& h, const QString& file, const Need& need, const QString& after) {
  QString e = Check(h, h.Status() == std::optional<int>(1), "no end with status 1 " + after);
  if (e.isEmpty()) e = Check(h, h.Reports().size() == 1, "not exactly one report " + after);
  if (e.isEmpty())
    e = Check(h, h.Reports()[0].contains(h.File(file)), "the report does not name " + h.File(file));
  if (e.isEmpty()) e = SeenBehindReport(h, need);
  if (e.isEmpty()) e = Check(h, h.VisiblePages() == 0 && !h.Page(), "a page is left " + after);
  return e;
}

// Visits every page that does not need the file, nearest first, and presses the buttons there
// that neither switch nor read the file (the blind-spot sweeps and the animation excepted);
// then goes to where the file is needed. Returns the first thing that went wrong.
QString Walk(Harness& h, const Need& need) {
  const auto pass = [&](const QString& page) { return !need.pages.contains(page); };
  std::set<QString> visited = {QStringLiteral("Form16")};
  for (;;) {
    std::optional<std::vector<coursemap::Step>> best;
    for (const QString& page : coursemap::Pages()) {
      if (visited.count(page) || !pass(page)) continue;
      const auto route = coursemap::Route(h.PageName(), page, pass);
      if (route && (!best || route->size() < best->size())) best = route;
    }
    if (!best) break;
    for (const coursemap::Step& s : *best) {
      h.Take(s);
      if (auto e = Works(h, s.to, "after leaving " + s.from); !e.isEmpty()) return e;
      visited.insert(s.to);
    }
    const QString page = h.PageName();
    for (const QString& button : coursemap::OtherButtons(page)) {
      if ((page == "Form21" || page == "Form12") && button != QLatin1String("Explain")) continue;
      if (need.button && need.button->page == page && need.button->button == button) continue;
      h.Click(button);
      if (auto e = Works(h, page, "after " + button + " on " + page); !e.isEmpty()) return e;
    }
  }
  // Every page the pupil can reach without the file works; now the first place that needs it.
  if (need.button) {
    const auto route = coursemap::Route(h.PageName(), need.button->page, pass);
    if (!route) return QStringLiteral("no way to ") + need.button->page;
    for (const coursemap::Step& s : *route) h.Take(s);
    h.Click(need.button->button);
    return {};
  }
  for (const coursemap::Step& s : coursemap::Steps()) {
    if (!visited.count(s.from) || !need.pages.contains(s.to)) continue;
    const auto route = coursemap::Route(h.PageName(), s.from, pass);
    if (!route) continue;
    for (const coursemap::Step& r : *route) h.Take(r);
    h.Take(s);
    return {};
  }
  return QStringLiteral("no way to a page that needs the file");
}

Need NeedOf(const QString& file, bool atLoad) {
  Need need;
  for (const QString& page : coursemap::Pages())
    if (atLoad && coursemap::LoadNeeds(page).contains(file)) need.pages << page;
  need.button = coursemap::ButtonNeedOf(file);
  if (!need.pages.isEmpty() && file == QLatin1String("7optical.exe")) need.button.reset();
  return need;
}

// Runs a case in a child process and gives its verdict: empty when it passed. A child that
// crashes, ends on its own, or is not done within the limit fails the case.
QString InChild(const std::function<QString()>& run) {
  std::fflush(stdout);
  std::fflush(stderr);
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return QStringLiteral("no pipe");
  QElapsedTimer timer;
  timer.start();
  const pid_t pid = ::fork();
  if (pid < 0) return QStringLiteral("no fork");
  if (pid == 0) {
    ::close(pipeFds[0]);
    QString verdict;
    try {
      verdict = run();
    } catch (const std::exception& e) {
      verdict = QStringLiteral("exception: ") + QString::fromUtf8(e.what());
    }
    const QByteArray out = "done:" + verdict.toUtf8();
    [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], out.constData(), size_t(out.size()));
    std::fflush(stdout);
    std::fflush(stderr);
    ::_exit(0);  // nothing of the parent's state is torn down twice
  }
  ::close(pipeFds[1]);
  int status = 0;
  bool hung = false;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (timer.elapsed() > kCaseLimitMs) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      hung = true;
      break;
    }
    ::usleep(2000);
  }
  QByteArray out;
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, n);
  ::close(pipeFds[0]);
  if (hung) return QStringLiteral("hung: not done after %1 ms").arg(kCaseLimitMs);
  if (WIFSIGNALED(status)) return QStringLiteral("crashed with signal %1").arg(WTERMSIG(status));
  if (WEXITSTATUS(status) != 0 || !out.startsWith("done:"))
    return QStringLiteral("the process ended by itself, status %1").arg(WEXITSTATUS(status));
  return QString::fromUtf8(out.mid(5));
}

// Screens the course is shown full screen on: the pictures' finer drawings they need.
const QSize kTwiceFiner(1024, 768), kThriceFiner(1920, 1080);

const QStringList kPictureDamage = {"missing",   "empty",      "truncated", "random bytes", "png",
                                    "directory", "unreadable", "bomb",      "link loop"};
const QStringList kProgramFailsAtLoad = {"missing", "not executable", "directory", "link loop"};

}  // namespace

class FaultsTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    // A copy of the course folder that any user may read, for cases that give up root.
    QVERIFY(shared_.isValid());
    QVERIFY(QFile::setPermissions(
        shared_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                            QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup));
    QVERIFY(CopyCourse(shared_.path()));
    // Every page once full screen on each screen the cases use, so that each case's process
    // starts with the glyphs of those sizes drawn, as the designed ones are.
    for (const QSize screen : {kTwiceFiner, kThriceFiner}) {
      QVERIFY(testing::SetScreen(screen));
      Harness h;
      h.Start();
      h.FullScreen(true);
      for (const QString& page : coursemap::Pages()) h.GoTo(page);
    }
    QVERIFY(testing::SetScreen(QSize(800, 800)));
    // Qt scales large pictures on a pool of threads; a process forked while they are there would
    // wait for them for ever.
    QVERIFY(QThreadPool::globalInstance()->waitForDone(5000));
  }

  // Each of the twenty-four pictures, spoilt in each way: the course fails at the first page
  // or button that needs the picture, naming it, after every page before has worked. A JPEG
  // under a GIF's name, or a GIF under a JPEG's, is read by its content and shown. The same for
  // each picture's finer drawings, with the course full screen on a screen that needs them
  // (1024 x 768 the twice finer, 1920 x 1080 the three times finer): there a missing one is
  // no fault, the picture itself is drawn larger.
  void spoiltPictureEndsWhereItIsNeeded_data() {
    QTest::addColumn<QString>("picture");
    QTest::addColumn<int>("factor");
    QTest::addColumn<QString>("damage");
    const QStringList damages = kPictureDamage + QStringList{"other kind"};
    // A finer drawing is read by the same reader as its picture: each kind of verdict once
    // (missing, cut, not a picture, too large, the other format), at a full-screen walk's cost.
    const QStringList finerDamages = {"missing", "truncated", "png", "bomb", "other kind"};
    for (std::string_view asset : content::kPictures)
      for (const int factor : {1, content::kVariantFactors[0], content::kVariantFactors[1]})
        for (const QString& damage : factor == 1 ? damages : finerDamages)
          QTest::addRow("%s %s", qPrintable(VariantFile(asset, factor)), qPrintable(damage))
              << FileName(asset) << factor << damage;
  }
  void spoiltPictureEndsWhereItIsNeeded() {
    QFETCH(QString, picture);
    QFETCH(int, factor);
    QFETCH(QString, damage);
    const bool harmless =
        damage == QLatin1String("other kind") || (factor > 1 && damage == QLatin1String("missing"));
    const std::string asset = '\\' + picture.toStdString();
    Need need = NeedOf(picture, true);
    // The course opens in its designed window; the title page's finer drawing is read when F11
    // shows that page full screen, and the page stays behind the report like a button's.
    if (factor > 1 && need.pages.contains(QLatin1String("Form16")))
      need.button = coursemap::ButtonNeed{"Form16", "F11", picture};
    RunCase(VariantFile(asset, factor), damage, need, !harmless,
            factor == 1   ? QSize()
            : factor == 2 ? kTwiceFiner
                          : kThriceFiner);
  }

  void animationProgramThatCannotBeMadeEndsOnTheAnimationPage_data() {
    QTest::addColumn<QString>("damage");
    for (const QString& damage : kProgramFailsAtLoad) QTest::newRow(qPrintable(damage)) << damage;
  }
  void animationProgramThatCannotBeMadeEndsOnTheAnimationPage() {
    QFETCH(QString, damage);
    RunCase("7optical.exe", damage, NeedOf("7optical.exe", true), /*fails=*/true);
  }

  // A program that cannot be started fails its start; one that starts and fails by itself is
  // no concern of the course, which keeps running.
  void animationProgramThatFailsToRun_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("fails");
    QTest::newRow("not a program") << "not a program" << true;
    QTest::newRow("fails at once") << "fails at once" << false;
  }
  void animationProgramThatFailsToRun() {
    QFETCH(QString, damage);
    QFETCH(bool, fails);
    RunCase("7optical.exe", damage, NeedOf("7optical.exe", false), fails);
  }

  // Odd course folders: every file is found, the animation program too.
  void everyFileIsFoundInAnOddFolder_data() { FolderRows(); }
  void everyFileIsFoundInAnOddFolder() {
    QFETCH(QString, subfolder);
    Harness h(subfolder);
    if (QByteArray(QTest::currentDataTag()) == "200 characters") QCOMPARE(h.Folder().size(), 200);
    QFile::remove(h.File("7optical.exe"));
    QVERIFY(WriteFailingProgram(h.File("7optical.exe")));
    h.Start();
    QCOMPARE(Works(h, "Form16", "at start"), QString());
    // Every page and button, and last the animation's start.
    QCOMPARE(Walk(h, NeedOf("7optical.exe", false)), QString());
    QCOMPARE(Works(h, "Form12", "after the animation started"), QString());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(h.File("ran.txt")), kCaseLimitMs);
  }

  // The real program, copied into an odd folder and started from elsewhere, finds its files:
  // it stays up without a word on its error output.
  void realProgramStartsInAnOddFolder_data() { FolderRows(); }
  void realProgramStartsInAnOddFolder() {
    QFETCH(QString, subfolder);
    QTemporaryDir dir, runtime;  // a runtime folder of its own, so that Qt has nothing to say
    const QString folder = dir.path() + '/' + subfolder;
    QVERIFY(QDir().mkpath(folder) && CopyCourse(folder));
    QProcess lumora;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    lumora.setProcessEnvironment(env);
    lumora.setWorkingDirectory(dir.path());
    lumora.start(folder + "/lumora", {});
    QVERIFY2(lumora.waitForStarted(), qPrintable(lumora.errorString()));
    lumora.waitForFinished(3000);
    const QByteArray errors = lumora.readAllStandardError();
    const bool running = lumora.state() == QProcess::Running;
    lumora.kill();
    lumora.waitForFinished();
    QVERIFY2(running, qPrintable("ended: " + QString::fromLocal8Bit(errors)));
    QVERIFY2(errors.isEmpty(), errors.constData());
  }

 private:
  static void FolderRows() {
    QTest::addColumn<QString>("subfolder");
    QTest::newRow("spaces") << "a course folder/with  spaces in it ";
    QTest::newRow("Chinese") << "眼睛與視覺/光學錯覺 課程";
    // The course folder's full path is 200 characters long, in several parts.
    const QString base = QTemporaryDir().path() + "/";
    QString deep;
    while (base.size() + deep.size() < 200)
      deep += deep.size() % 60 == 59 ? QStringLiteral("/") : QStringLiteral("課");
    while (deep.endsWith('/')) deep.chop(1), deep += "x";
    QTest::newRow("200 characters") << deep;
  }

  // fullScreen: the screen the course is shown full screen on, from its first page; none for
  // the designed window.
  void RunCase(const QString& file, const QString& damage, const Need& need, bool fails,
               QSize fullScreen = {}) {
    const QString shared = shared_.path();
    const QString verdict = InChild([&]() -> QString {
      if (damage == QLatin1String("unreadable")) {
        if (auto e = BecomeNobody(); !e.isEmpty()) return e;
        qputenv("LUMORA_BIN", QFile::encodeName(shared));
      }
      if (!fullScreen.isEmpty() && !testing::SetScreen(fullScreen)) return "no screen of that size";
      Harness h;
      if (auto e = Spoil(h.File(file), damage); !e.isEmpty()) return e;
      h.Start();
      if (!fullScreen.isEmpty()) h.FullScreen(true);
      if (need.pages.contains(QLatin1String("Form16")))
        return fails ? Failed(h, file, need, "at start") : Works(h, "Form16", "at start");
      if (auto e = Works(h, "Form16", "at start"); !e.isEmpty()) return e;
      if (auto e = Walk(h, need); !e.isEmpty()) return e;
      if (fails) return Failed(h, file, need, "where it is needed");
      // Still up where the file is used, and it did its part.
      const QString at = need.button ? need.button->page : need.pages.value(0);
      if (auto e = Works(h, at, "where it is needed"); !e.isEmpty()) return e;
      if (file != QLatin1String("7optical.exe")) return {};
      if (!QTest::qWaitFor([&] { return QFileInfo::exists(h.File("ran.txt")); }, 3000))
        return "the program did not run";
      h.Click("Next");
      return Works(h, "Form13", "after the program failed");
    });
    QVERIFY2(verdict.isEmpty(), qPrintable(verdict));
  }

  QTemporaryDir shared_;
};

LUMORA_TEST_MAIN(FaultsTest)
#include "test_faults.moc"
