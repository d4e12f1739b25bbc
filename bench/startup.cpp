// Start-up from a fresh process each time, and the child modes that run in those processes.
#include "bench/startup.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "app/coursemap.h"
#include "bench/bench.h"
#include "shell/prepare.h"

#ifdef LUMORA_BENCH_XCB
#include <xcb/xcb.h>
#endif

extern char** environ;

namespace bench {

namespace {

long long Stamp() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
      .count();
}

std::string SelfPath() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) throw std::runtime_error("cannot find this executable");
  return std::string(path, static_cast<std::size_t>(n));
}

// The environment of this process with some variables set or removed (an empty value removes).
class Environ {
 public:
  explicit Environ(const Environment& changes) {
    for (char** e = environ; *e; ++e) {
      const std::string entry = *e;
      bool changed = false;
      for (const auto& [name, value] : changes)
        if (entry.rfind(name + "=", 0) == 0) changed = true;
      if (!changed) entries_.push_back(entry);
    }
    for (const auto& [name, value] : changes)
      if (!value.empty()) entries_.push_back(name + "=" + value);
    for (std::string& s : entries_) pointers_.push_back(s.data());
    pointers_.push_back(nullptr);
  }
  char** Get() { return pointers_.data(); }

 private:
  std::vector<std::string> entries_;
  std::vector<char*> pointers_;
};

class Args {
 public:
  Args(std::initializer_list<std::string> args) : args_(args) {
    for (std::string& s : args_) pointers_.push_back(s.data());
    pointers_.push_back(nullptr);
  }
  char** Get() { return pointers_.data(); }

 private:
  std::vector<std::string> args_;
  std::vector<char*> pointers_;
};

// Standard output and error of a child to /dev/null, or its standard output to a pipe.
struct Actions {
  posix_spawn_file_actions_t actions;
  Actions() { posix_spawn_file_actions_init(&actions); }
  ~Actions() { posix_spawn_file_actions_destroy(&actions); }
};

int Wait(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

}  // namespace

// --- a child of this executable ---

std::string RunChild(const std::string& mode, Clock::time_point* started,
                     const Environment& environment) {
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
  // What the child says on standard error is shown only when it fails.
  char errors[] = "/tmp/lumora_bench.XXXXXX";
  const int err = mkostemp(errors, O_CLOEXEC);
  if (err < 0) throw std::runtime_error("cannot create a temporary file");
  unlink(errors);
  Actions a;
  posix_spawn_file_actions_adddup2(&a.actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&a.actions, err, STDERR_FILENO);
  Args args{SelfPath(), "--child=" + mode};
  Environment changes = environment;
  if (std::none_of(changes.begin(), changes.end(),
                   [](const auto& change) { return change.first == "QT_QPA_PLATFORM"; }))
    changes.emplace_back("QT_QPA_PLATFORM", "offscreen");
  Environ env(changes);
  pid_t pid = 0;
  const Clock::time_point t0 = Clock::now();
  const int spawned = posix_spawn(&pid, args.Get()[0], &a.actions, nullptr, args.Get(), env.Get());
  close(out[1]);
  if (spawned != 0) {
    close(out[0]);
    close(err);
    throw std::runtime_error("cannot start " + std::string(args.Get()[0]));
  }
  if (started) *started = t0;
  std::string output;
  char buffer[4096];
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) != 0;) {
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    output.append(buffer, static_cast<std::size_t>(n));
  }
  close(out[0]);
  const int status = Wait(pid);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::string said;
    lseek(err, 0, SEEK_SET);
    for (ssize_t n; (n = read(err, buffer, sizeof buffer)) > 0;)
      said.append(buffer, static_cast<std::size_t>(n));
    close(err);
    throw std::runtime_error("child " + mode + " failed: " + said);
  }
  close(err);
  return output;
}

// The course's main() up to the first page on the screen; then a press on it at once, and the
// fonts warmed in the idle time after; then the times of these steps.
int StartUpChild(int argc, char** argv) {
  const long long entered = Stamp();
  const bool late = std::any_of(
      argv, argv + argc, [](const char* a) { return std::strcmp(a, "--child=startup-late") == 0; });
  QApplication app(argc, argv);
  shell::PrepareApplication(app::Course(), shell::FontWarming::kAfterFirstPaint);
  bool failed = false;
  shell::Environment env;
  env.folder = CourseFolder();
  env.report = [&](const QString& message) {
    std::fprintf(stderr, "%s\n", qPrintable(message));
    failed = true;
  };
  env.end = [&](int) { failed = true; };
  shell::Course course(std::move(env), app::Course());
  PaintWatch paint;
  course.Start();
  if (failed || !course.Current()) return 1;
  const long long shown = Stamp();
  const auto painted = [&] {
    paint.Watch(course.Current());
    while (!paint.Painted()) QCoreApplication::processEvents(QEventLoop::AllEvents);
    return Stamp();
  };
  const long long titled = painted();
  // At once, the menu meets its fonts cold; a pupil's press comes later, some 100 ms at the
  // earliest, and meets them warmed as far as the idle time since the paint allowed.
  if (late) {
    const long long until = titled + 100'000'000;
    while (Stamp() < until) QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
  // Pressed at once, the menu must meet the warming unfinished, or it measures nothing.
  if (!late && !shell::FontWarmingPending()) return 1;
  const long long pressed = Stamp();
  course.Current()->Raise(QStringLiteral("Form_MouseDown"));
  if (failed || !course.Current()) return 1;
  const long long press = painted() - pressed;
  long long slice = 0;
  const long long warmFrom = Stamp();
  while (shell::FontWarmingPending()) {
    const long long t0 = Stamp();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    slice = std::max(slice, Stamp() - t0);
  }
  std::printf("%lld %lld %lld %lld %lld %lld\n", entered, shown, titled, press, Stamp() - warmFrom,
              slice);
  std::fflush(stdout);
  std::_Exit(0);  // as the course's own Exit: no tear-down
}

StartUp TimeStartUpInProcess(bool late) {
  Clock::time_point started;
  const std::string out = RunChild(late ? "startup-late" : "startup", &started);
  long long entered = 0, shown = 0, painted = 0, press = 0, warming = 0, slice = 0;
  if (std::sscanf(out.c_str(), "%lld %lld %lld %lld %lld %lld", &entered, &shown, &painted, &press,
                  &warming, &slice) != 6)
    throw std::runtime_error("start-up child said: " + out);
  const long long t0 =
      std::chrono::duration_cast<std::chrono::nanoseconds>(started.time_since_epoch()).count();
  return {(entered - t0) / 1e6, (shown - t0) / 1e6, (painted - t0) / 1e6,
          press / 1e6,          warming / 1e6,      slice / 1e6};
}

// --- the real executable under Xvfb ---

#ifdef LUMORA_BENCH_XCB

struct XServer::State {
  pid_t server = 0;
  std::string display;
  xcb_connection_t* connection = nullptr;
  xcb_window_t root = 0;
};

XServer::XServer() : state_(std::make_unique<State>()) {
  int ready[2];
  if (pipe2(ready, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
  Actions a;
  // Xvfb writes its display number to fd 3 once it accepts connections.
  posix_spawn_file_actions_adddup2(&a.actions, ready[1], 3);
  posix_spawn_file_actions_addopen(&a.actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&a.actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  Args args{"Xvfb",         "-displayfd", "3",  "-screen",   "0",
            "1280x1024x24", "-dpi",       "96", "-nolisten", "tcp"};
  const int spawned =
      posix_spawnp(&state_->server, "Xvfb", &a.actions, nullptr, args.Get(), environ);
  close(ready[1]);
  if (spawned != 0) {
    close(ready[0]);
    throw std::runtime_error("cannot start Xvfb");
  }
  std::string number;
  char buffer[64];
  pollfd p{ready[0], POLLIN, 0};
  while (number.find('\n') == std::string::npos && poll(&p, 1, 10000) > 0) {
    const ssize_t n = read(ready[0], buffer, sizeof buffer);
    if (n <= 0) break;
    number.append(buffer, static_cast<std::size_t>(n));
  }
  close(ready[0]);
  if (number.find('\n') == std::string::npos) throw std::runtime_error("Xvfb did not start");
  state_->display = ":" + number.substr(0, number.find('\n'));
  state_->connection = xcb_connect(state_->display.c_str(), nullptr);
  if (xcb_connection_has_error(state_->connection))
    throw std::runtime_error("cannot connect to Xvfb " + state_->display);
  state_->root = xcb_setup_roots_iterator(xcb_get_setup(state_->connection)).data->root;
  // Every window mapped at the top level is announced to us.
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(state_->connection, state_->root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(state_->connection);
}

XServer::~XServer() {
  if (state_->connection) xcb_disconnect(state_->connection);
  if (state_->server > 0) {
    kill(state_->server, SIGTERM);
    Wait(state_->server);
  }
}

bool XServer::Available() {
  const char* path = std::getenv("PATH");
  if (!path) return false;
  for (const QString& dir : QString::fromLocal8Bit(path).split(QLatin1Char(':')))
    if (access(qPrintable(dir + QStringLiteral("/Xvfb")), X_OK) == 0) return true;
  return false;
}

double XServer::TimeToWindow(const std::string& executable) {
  xcb_connection_t* c = state_->connection;
  while (xcb_generic_event_t* e = xcb_poll_for_event(c)) std::free(e);
  Actions a;
  posix_spawn_file_actions_addopen(&a.actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&a.actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const std::string folder = executable.substr(0, executable.rfind('/'));
  posix_spawn_file_actions_addchdir_np(&a.actions, folder.c_str());
  Args args{executable};
  Environ env(
      Environment{{"DISPLAY", state_->display}, {"QT_QPA_PLATFORM", ""}, {"WAYLAND_DISPLAY", ""}});
  pid_t pid = 0;
  const Clock::time_point t0 = Clock::now();
  if (posix_spawn(&pid, executable.c_str(), &a.actions, nullptr, args.Get(), env.Get()) != 0)
    throw std::runtime_error("cannot start " + executable);
  std::optional<Clock::time_point> mapped;
  const Clock::time_point deadline = t0 + std::chrono::seconds(20);
  pollfd p{xcb_get_file_descriptor(c), POLLIN, 0};
  while (!mapped && Clock::now() < deadline) {
    while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
      if ((e->response_type & 0x7f) == XCB_MAP_NOTIFY && !mapped) mapped = Clock::now();
      std::free(e);
    }
    if (!mapped) poll(&p, 1, 100);
  }
  kill(pid, SIGTERM);
  Wait(pid);
  if (!mapped) throw std::runtime_error(executable + " showed no window");
  return Ms(*mapped - t0);
}

#else

struct XServer::State {};
XServer::XServer() { throw std::runtime_error("built without X support"); }
XServer::~XServer() = default;
bool XServer::Available() { return false; }
double XServer::TimeToWindow(const std::string&) { return 0; }

#endif

}  // namespace bench
