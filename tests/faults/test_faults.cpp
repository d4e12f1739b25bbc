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
#include <QImageReader>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <functional>

#include "content/assets.h"
#include "tests/support/coursemap.h"
#include "tests/support/harness.h"
#include "tests/support/main.h"

using testing::Harness;

namespace {

constexpr int kCaseLimitMs = 5000;

QString FileName(std::string_view asset) {
  return QString::fromUtf8(asset.data(), static_cast<qsizetype>(asset.size())).mid(1);
}

// --- spoilt files ---

// A GIF of the given size whose data holds a single pixel; at 65535 × 65535 it is a
// decompression bomb of 16 GiB in a file of a few dozen bytes.
QByteArray Gif(quint16 width, quint16 height) {
  QByteArray b("GIF89a");
  auto word = [&b](quint16 v) { b.append(char(v & 0xff)).append(char(v >> 8)); };
  word(width);
  word(height);
  b.append("\x80\x00\x00", 3);  // a global map of two colours
  b.append("\x00\x00\x00\xff\xff\xff", 6);
  b.append(',');
  word(0);
  word(0);
  word(width);
  word(height);
  b.append('\x00');
  b.append("\x02\x02\x44\x01\x00", 5);  // clear, one pixel, end of information
  b.append(';');
  return b;
}

QByteArray Jpeg(int width, int height) {
  QImage image(16, 16, QImage::Format_RGB32);
  image.fill(Qt::darkCyan);
  QByteArray b;
  QBuffer buffer(&b);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPEG");
  // The frame header states the size: FF C0, length, precision, height, width.
  const qsizetype sof = b.indexOf(QByteArray("\xff\xc0", 2));
  b[sof + 5] = char(height >> 8);
  b[sof + 6] = char(height & 0xff);
  b[sof + 7] = char(width >> 8);
  b[sof + 8] = char(width & 0xff);
  return b;
}

QByteArray Png() {
  QImage image(40, 30, QImage::Format_RGB32);
  image.fill(Qt::yellow);
  QByteArray b;
  QBuffer buffer(&b);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return b;
}

// Where a course picture's image data begins (after all its headers) and where its end marker
// lies, for cutting it at those places.
struct ImageData {
  qsizetype begin = -1;
  qsizetype end = -1;
};

ImageData FindImageData(const QByteArray& b, bool gif) {
  auto byte = [&b](qsizetype i) { return i < b.size() ? uchar(b[i]) : 0; };
  auto table = [](uchar flags) { return (flags & 0x80) ? 3 << ((flags & 7) + 1) : 0; };
  if (!gif) {
    const qsizetype scan = b.indexOf("\xff\xda");
    if (scan < 0) return {};
    return {scan + 2 + (byte(scan + 2) << 8 | byte(scan + 3)), b.lastIndexOf("\xff\xd9")};
  }
  qsizetype i = 13 + table(byte(10));
  while (byte(i) == '!')  // extensions: introducer, label, sub-blocks
    for (i += 2; i < b.size(); i += byte(i) + 1)
      if (byte(i) == 0) {
        ++i;
        break;
      }
  if (byte(i) != ',' || !b.endsWith(';')) return {};
  return {i + 10 + table(byte(i + 9)) + 1, b.size() - 1};
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
  } else if (damage == "200 random bytes after the end") {
    QByteArray noise(200, '\0');
    QRandomGenerator random(qHash(path.section('/', -1)));
    for (char& c : noise) c = char(random.bounded(256));
    ok = Write(path, content + noise);
  } else if (damage == "text after the end") {
    ok = Write(path, content + "\r\nSaved by the camera; thumbnail and settings follow.\r\n");
  } else if (damage == "zero padding") {
    ok = Write(path, content + QByteArray(1024, '\0'));
  } else if (damage.startsWith("cut ")) {
    const ImageData data = FindImageData(content, gif);
    if (data.begin <= 0 || data.end <= data.begin) return QStringLiteral("no image data found");
    const qsizetype at = damage == "cut after the header"    ? data.begin
                         : damage == "cut in the image data" ? (data.begin + data.end) / 2
                                                             : data.end - 1;
    ok = Write(path, content.left(at));
  } else if (damage == "png") {
    ok = Write(path, Png());
  } else if (damage == "other kind") {
    ok = Write(path, gif ? Jpeg(16, 16) : Gif(1, 1));
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
    ok = Write(path, gif ? Gif(65535, 65535) : Jpeg(65535, 65535));
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
  if (auto e = Check(h, !h.Status() && h.Reports().isEmpty(), "the course failed " + after);
      !e.isEmpty())
    return e;
  if (auto e = Check(h, h.PageName() == page, page + " is not shown " + after); !e.isEmpty())
    return e;
  if (auto e = Check(h, h.Page()->isVisible() && h.VisiblePages() == 1,
                     "not exactly one page on screen " + after);
      !e.isEmpty())
    return e;
  for (forms::Control* c : h.Page()->Controls())
    if (auto* image = dynamic_cast<forms::ImageBox*>(c); image && image->Picture().isNull())
      return Check(h, false, c->Name() + " has no picture " + after);
  return {};
}

// The course reported an error that names the file, and ended with status 1 and no page left.
QString Failed(const Harness& h, const QString& file, const QString& after) {
  if (auto e = Check(h, h.Status() == std::optional<int>(1), "no end with status 1 " + after);
      !e.isEmpty())
    return e;
  if (auto e = Check(h, h.Reports().size() == 1, "not exactly one report " + after); !e.isEmpty())
    return e;
  if (auto e = Check(h, h.Reports()[0].contains(h.File(file)),
                     "the report does not name " + h.File(file));
      !e.isEmpty())
    return e;
  return Check(h, h.VisiblePages() == 0 && !h.Page(), "a page is left on screen " + after);
}

// Whether the page shows, anywhere, a picture of this size.
bool ShowsPictureOfSize(forms::Page& page, QSize size) {
  if (page.Picture().size() == size) return true;
  for (forms::Control* c : page.Controls()) {
    if (auto* i = dynamic_cast<forms::ImageBox*>(c); i && i->Picture().size() == size) return true;
    if (auto* b = dynamic_cast<forms::Button*>(c); b && b->Picture().size() == size) return true;
  }
  return false;
}

QString StepName(const coursemap::Step& s) {
  QString control = s.control.isEmpty() ? QStringLiteral("the page") : s.control;
  if (s.index) control += QStringLiteral("(%1)").arg(*s.index);
  return QStringLiteral("after %1 on %2").arg(control, s.from);
}

// Where a spoilt file is first needed: pages that read it at load, or a button that reads it.
struct Need {
  QStringList pages;
  std::optional<coursemap::ButtonNeed> button;
};

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
      if (auto e = Works(h, s.to, StepName(s)); !e.isEmpty()) return e;
      visited.insert(s.to);
    }
    const QString page = h.PageName();
    for (const QString& button : coursemap::OtherButtons(page)) {
      if (page == QLatin1String("Form21") || page == QLatin1String("Form12")) {
        if (button != QLatin1String("Explain")) continue;
      }
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
QString InChild(const std::function<QString()>& run, qint64& elapsed) {
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
  elapsed = timer.elapsed();
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

const QStringList kPictureDamage = {"missing",   "empty",      "truncated", "random bytes", "png",
                                    "directory", "unreadable", "bomb",      "link loop"};
// What editors and cameras leave after a picture's end, and cuts short of it.
const QStringList kAfterTheEnd = {"200 random bytes after the end", "text after the end",
                                  "zero padding"};
const QStringList kCutShort = {"cut after the header", "cut in the image data",
                               "cut one byte before the end marker"};
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
    const QDir built(testing::BuiltCourseFolder());
    for (const QString& name : built.entryList(QDir::Files)) {
      QVERIFY(QFile::copy(built.filePath(name), shared_.filePath(name)));
      QFile::Permissions p = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther;
      if (QFileInfo(built.filePath(name)).isExecutable()) p |= QFile::ExeOwner | QFile::ExeOther;
      QVERIFY(QFile::setPermissions(shared_.filePath(name), p));
    }
  }

  // Each of the twenty-four pictures, spoilt in each way: the course fails at the first page
  // or button that needs the picture, naming it, after every page before has worked.
  void spoiltPictureEndsWhereItIsNeeded_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("damage");
    for (std::string_view asset : content::kPictures)
      for (const QString& damage : kPictureDamage)
        QTest::addRow("%s %s", qPrintable(FileName(asset)), qPrintable(damage))
            << FileName(asset) << damage;
  }
  void spoiltPictureEndsWhereItIsNeeded() {
    QFETCH(QString, file);
    QFETCH(QString, damage);
    RunCase(file, damage, NeedOf(file, true), /*fails=*/true);
  }

  // A JPEG under a GIF's name, or a GIF under a JPEG's: the content decides, and both are
  // pictures the course reads.
  void pictureOfTheOtherKindIsRead_data() {
    QTest::addColumn<QString>("file");
    for (std::string_view asset : content::kPictures)
      QTest::newRow(qPrintable(FileName(asset))) << FileName(asset);
  }
  void pictureOfTheOtherKindIsRead() {
    QFETCH(QString, file);
    RunCase(file, "other kind", NeedOf(file, true), /*fails=*/false);
  }

  // The picture's own structure tells where it ends: what follows is shown past, and a picture
  // cut anywhere short of its end is refused.
  void pictureEndsWhereItsStructureEnds_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("fails");
    for (const char* file : {"realeye.jpg", "1line1.gif"}) {
      for (const QString& damage : kAfterTheEnd)
        QTest::addRow("%s %s", file, qPrintable(damage)) << file << damage << false;
      for (const QString& damage : kCutShort)
        QTest::addRow("%s %s", file, qPrintable(damage)) << file << damage << true;
    }
  }
  void pictureEndsWhereItsStructureEnds() {
    QFETCH(QString, file);
    QFETCH(QString, damage);
    QFETCH(bool, fails);
    RunCase(file, damage, NeedOf(file, true), fails);
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
    QVERIFY2(QFileInfo(h.File("bg.jpg")).exists(), qPrintable(h.File("bg.jpg")));
    QFile::remove(h.File("7optical.exe"));
    QVERIFY(WriteFailingProgram(h.File("7optical.exe")));
    for (const QString& page : coursemap::Pages()) {
      h.GoTo(page);
      QCOMPARE(Works(h, page, "on arrival"), QString());
      for (const QString& button : coursemap::OtherButtons(page)) {
        if (button == QLatin1String("Left") || button == QLatin1String("Right")) continue;
        h.Click(button);
        QCOMPARE(Works(h, page, "after " + button), QString());
      }
    }
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(h.File("ran.txt")), kCaseLimitMs);
  }

  // The real program, copied into an odd folder and started there, shows its title page and
  // stays up without a word on its error output.
  void realProgramStartsInAnOddFolder_data() { FolderRows(); }
  void realProgramStartsInAnOddFolder() {
    QFETCH(QString, subfolder);
    QTemporaryDir dir;
    const QString folder = dir.path() + '/' + subfolder;
    QVERIFY(QDir().mkpath(folder));
    const QDir built(testing::BuiltCourseFolder());
    for (const QString& name : built.entryList(QDir::Files)) {
      QVERIFY(QFile::copy(built.filePath(name), folder + '/' + name));
      QFile::setPermissions(folder + '/' + name, QFile::permissions(built.filePath(name)));
    }
    QProcess lumora;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QTemporaryDir runtime;  // a runtime folder of its own, so that Qt has nothing to say about it
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    if (display_.isEmpty()) {
      env.insert("QT_QPA_PLATFORM", "offscreen");
    } else {
      env.insert("QT_QPA_PLATFORM", "xcb");
      env.insert("DISPLAY", display_);
    }
    lumora.setProcessEnvironment(env);
    qInfo("on %s", display_.isEmpty() ? "the offscreen platform" : qPrintable("Xvfb " + display_));
    lumora.setWorkingDirectory(dir.path());  // not the course folder: the files are found anyway
    lumora.start(folder + "/lumora", {});
    QVERIFY2(lumora.waitForStarted(), qPrintable(lumora.errorString()));
    // Up until its title page shows, then still up a while later.
    bool shown = display_.isEmpty();
    QElapsedTimer timer;
    timer.start();
    while (!shown && timer.elapsed() < 10000 && lumora.state() == QProcess::Running) {
      shown = TitleWindowOnDisplay();
      if (!shown) lumora.waitForFinished(100);
    }
    lumora.waitForFinished(3000);
    const QByteArray errors = lumora.readAllStandardError();
    const bool running = lumora.state() == QProcess::Running;
    lumora.kill();
    lumora.waitForFinished();
    QVERIFY2(running, qPrintable("ended: " + QString::fromLocal8Bit(errors)));
    QVERIFY2(shown, "no title page on the display");
    QVERIFY2(errors.isEmpty(), errors.constData());
  }

  void cleanupTestCase() {
    for (QProcess* p : {&wm_, &xvfb_}) {
      p->kill();
      p->waitForFinished();
    }
  }

 private:
  void FolderRows() {
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
    StartDisplay();
  }

  // Xvfb with openbox, when they are installed: the black-box check then looks at a real
  // display. Otherwise the program runs on the offscreen platform.
  void StartDisplay() {
    if (xvfbTried_) return;
    xvfbTried_ = true;
    if (QStandardPaths::findExecutable("Xvfb").isEmpty() ||
        QStandardPaths::findExecutable("openbox").isEmpty() ||
        QStandardPaths::findExecutable("xwininfo").isEmpty())
      return;
    xvfb_.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    if (!xvfb_.waitForStarted()) return;
    QByteArray number;
    QElapsedTimer timer;
    timer.start();
    while (!number.contains('\n') && timer.elapsed() < 10000) {
      xvfb_.waitForReadyRead(200);
      number += xvfb_.readAllStandardOutput();
    }
    if (!number.contains('\n')) return;
    display_ = ":" + QString::fromLatin1(number.trimmed());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display_);
    wm_.setProcessEnvironment(env);
    wm_.start("openbox", {});
    wm_.waitForStarted();
  }

  // A window of the title page's size, belonging to the course.
  bool TitleWindowOnDisplay() const {
    QProcess info;
    info.start("xwininfo", {"-display", display_, "-root", "-tree"});
    info.waitForFinished();
    for (const QByteArray& line : info.readAllStandardOutput().split('\n'))
      if (line.contains("\"lumora\"") && line.contains("661x508")) return true;
    return false;
  }

  void RunCase(const QString& file, const QString& damage, const Need& need, bool fails) {
    const QString shared = shared_.path();
    qint64 elapsed = 0;
    const QString verdict = InChild(
        [&]() -> QString {
          if (damage == QLatin1String("unreadable")) {
            if (auto e = BecomeNobody(); !e.isEmpty()) return e;
            qputenv("LUMORA_BIN", QFile::encodeName(shared));
          }
          Harness h;
          const QSize natural = QImageReader(h.File(file)).size();
          if (auto e = Spoil(h.File(file), damage); !e.isEmpty()) return e;
          h.Start();
          if (need.pages.contains(QLatin1String("Form16")))
            return fails ? Failed(h, file, "at start") : Works(h, "Form16", "at start");
          if (auto e = Works(h, "Form16", "at start"); !e.isEmpty()) return e;
          if (auto e = Walk(h, need); !e.isEmpty()) return e;
          if (fails) return Failed(h, file, "where it is needed");
          // Still up where the file is used, and it did its part.
          const QString at = need.button ? need.button->page : need.pages.value(0);
          if (auto e = Works(h, at, "where it is needed"); !e.isEmpty()) return e;
          if (file == QLatin1String("7optical.exe")) {
            QElapsedTimer t;
            t.start();
            while (!QFileInfo::exists(h.File("ran.txt")) && t.elapsed() < 3000) QTest::qWait(20);
            if (!QFileInfo::exists(h.File("ran.txt"))) return "the program did not run";
            h.Click("Next");
            return Works(h, "Form13", "after the program failed");
          }
          const QSize size = damage != QLatin1String("other kind")  ? natural
                             : file.endsWith(QLatin1String(".gif")) ? QSize(16, 16)
                                                                    : QSize(1, 1);
          return Check(h, ShowsPictureOfSize(*h.Page(), size), "the picture is not shown");
        },
        elapsed);
    QVERIFY2(verdict.isEmpty(), qPrintable(verdict));
    QVERIFY2(elapsed < kCaseLimitMs, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
  }

  QTemporaryDir shared_;
  QProcess xvfb_, wm_;
  QString display_;
  bool xvfbTried_ = false;
};

LUMORA_TEST_MAIN(FaultsTest)
#include "test_faults.moc"
