#include "packaging/launch.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#ifdef __linux__
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cctype>
#include <cstring>
#endif
#ifdef LUMORA_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace launch {

namespace {

std::string ProgramName(int argc, char** argv) {
  const std::string path = argc > 0 && argv[0] ? argv[0] : "lumora";
  return path.substr(path.find_last_of("/\\") + 1);
}

// "-platform" and "--platform" alike, as Qt reads them: the name without its dashes, or
// nothing for an argument that is no option.
std::string_view OptionName(std::string_view arg) {
  if (arg.size() < 2 || arg[0] != '-') return {};
  return arg.substr(arg[1] == '-' ? 2 : 1);
}

// Qt's own options, which Qt takes off the command line itself (its core, GUI, widgets and X11
// parts): whether each takes the next argument, or a value joined with '=' ("-style=fusion").
struct QtOption {
  std::string_view name;
  bool next;
  bool joined;
};
constexpr QtOption kQtOptions[] = {
    {"platform", true, false},        {"platformpluginpath", true, false},
    {"platformtheme", true, false},   {"plugin", true, false},
    {"qwindowgeometry", true, false}, {"qwindowtitle", true, false},
    {"qwindowicon", true, false},     {"geometry", true, false},
    {"title", true, false},           {"icon", true, false},
    {"session", true, false},         {"style", true, true},
    {"stylesheet", true, true},       {"qmljsdebugger", true, true},
    {"display", true, false},         {"name", true, false},
    {"visual", true, false},          {"reverse", false, false},
    {"testability", false, false},    {"widgetcount", false, false},
    {"nograb", false, false},         {"dograb", false, false},
};

const QtOption* FindQtOption(std::string_view name) {
  for (const QtOption& option : kQtOptions)
    if (option.name == name) return &option;
  return nullptr;
}

void PrintUsage(const std::string& program) {
  std::printf(
      "Usage: %s [-f | --full-screen] [-h | --help | -v | --version] [Qt options]\n"
      "Opens the course on the human eye, vision and optical illusions (Traditional Chinese)\n"
      "in a window of the designed size.\n"
      "\n"
      "  -f, --full-screen  open full screen, the page as large as the screen allows\n"
      "  -h, --help         show this help and end\n"
      "  -v, --version      show the version and end\n"
      "\n"
      "In the course, F11 switches between full screen and the window; Esc leaves full screen.\n"
      "\n"
      "Qt's own options are passed on to Qt, among them -platform NAME, -display DISPLAY,\n"
      "-style STYLE and -reverse; the manual page lists them.\n",
      program.c_str());
}

int Refuse(const std::string& program, const char* what, std::string_view arg) {
  std::fprintf(stderr, "%s: %s '%.*s' (%s --help lists the options)\n", program.c_str(), what,
               int(arg.size()), arg.data(), program.c_str());
  return 2;
}

}  // namespace

CommandLine ReadCommandLine(int argc, char** argv) {
  const std::string program = ProgramName(argc, argv);
  CommandLine line;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      PrintUsage(program);
      return {0};
    }
    if (arg == "-v" || arg == "--version") {
      std::printf("%s %s\n", program.c_str(), LUMORA_VERSION);
      return {0};
    }
    if (arg == "-f" || arg == "--full-screen") {
      line.fullScreen = true;
      continue;
    }
    const std::string_view name = OptionName(arg);
    if (name.empty()) return {Refuse(program, "unexpected argument", arg)};
    const std::string_view base = name.substr(0, name.find('='));
    const QtOption* qt = FindQtOption(base);
    if (!qt || (base.size() < name.size() && !qt->joined))
      return {Refuse(program, "unknown option", arg)};
    if (base.size() == name.size() && qt->next && ++i >= argc)
      return {Refuse(program, "a value is missing after", arg)};
  }
  return line;
}

#ifdef __linux__
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The value of the last of Qt's options of that name, or nothing.
std::string QtArgument(int argc, char** argv, std::string_view option) {
  std::string value;
  for (int i = 1; i + 1 < argc; ++i)
    if (OptionName(argv[i]) == option) value = argv[++i];
  return value;
}

// The platforms Qt will try, in its order: those named by -platform, else by QT_QPA_PLATFORM
// (either may list several, separated by ';'), else Wayland in a Wayland session, then X11.
std::vector<std::string> Platforms(const std::string& named) {
  std::string list = named;
  if (list.empty())
    list = std::string(!Env("WAYLAND_DISPLAY").empty() || Env("XDG_SESSION_TYPE") == "wayland"
                           ? "wayland;"
                           : "") +
           "xcb";
  std::vector<std::string> platforms;
  for (std::size_t at = 0; at <= list.size();) {
    const std::size_t end = std::min(list.find(';', at), list.size());
    std::string platform = list.substr(at, end - at);
    platform = platform.substr(0, platform.find(':'));  // arguments follow a colon
    for (char& c : platform) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (!platform.empty()) platforms.push_back(platform);
    at = end + 1;
  }
  return platforms;
}

// Empty when an X server answers where Qt's X11 platform will look; else what was tried.
std::string TryX11(const std::string& fromOption) {
  const std::string display = fromOption.empty() ? Env("DISPLAY") : fromOption;
  const std::string named = (fromOption.empty() ? "DISPLAY=" : "-display ") + display;
  if (display.empty()) return "DISPLAY is not set";
#ifdef LUMORA_HAVE_XCB
  // Kept open while the program runs: an X server with no other client resets when its last
  // one leaves, and Qt's own connection, a moment later, would meet the reset.
  static xcb_connection_t* const c = xcb_connect(display.c_str(), nullptr);
  if (xcb_connection_has_error(c)) return named + " does not answer";
#endif
  return {};
}

// Empty when a Wayland compositor listens where Qt's Wayland platform will look; else what was
// tried.
std::string TryWayland() {
  if (!Env("WAYLAND_SOCKET").empty()) return {};  // a connection handed over already
  const std::string name = Env("WAYLAND_DISPLAY").empty() ? "wayland-0" : Env("WAYLAND_DISPLAY");
  const std::string named = Env("WAYLAND_DISPLAY").empty()
                                ? std::string("WAYLAND_DISPLAY is not set")
                                : "WAYLAND_DISPLAY=" + name;
  std::string path = name;
  if (name.front() != '/') {
    if (Env("XDG_RUNTIME_DIR").empty()) return named + " and XDG_RUNTIME_DIR is not set";
    path = Env("XDG_RUNTIME_DIR") + "/" + name;
  }
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return named + " does not answer";
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const bool answers =
      fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  if (fd >= 0) ::close(fd);
  if (answers) return {};
  return Env("WAYLAND_DISPLAY").empty() ? named : named + " does not answer";
}

}  // namespace

std::optional<int> RequireDisplay(int argc, char** argv) {
  std::string chosen = QtArgument(argc, argv, "platform");
  const char* chosenBy = "-platform ";
  if (chosen.empty()) chosen = Env("QT_QPA_PLATFORM"), chosenBy = "QT_QPA_PLATFORM=";
  std::string tried = chosen.empty() ? "" : chosenBy + chosen + ": ";
  bool wayland = false;
  for (const std::string& platform : Platforms(chosen)) {
    std::string failure;
    if (platform == "xcb")
      failure = TryX11(QtArgument(argc, argv, "display"));
    else if (platform.rfind("wayland", 0) == 0)
      failure = TryWayland(), wayland = true;
    else
      return std::nullopt;  // one that needs no display of ours (offscreen, a framebuffer)
    if (failure.empty()) return std::nullopt;
    tried += (tried.empty() || tried.back() == ' ' ? "" : ", ") + failure;
  }
  // Where Qt chose by itself, the other way to a display is worth naming too.
  if (chosen.empty() && !wayland) tried += ", WAYLAND_DISPLAY is not set";
  std::fprintf(stderr, "%s: no display could be opened (%s)\n", ProgramName(argc, argv).c_str(),
               tried.c_str());
  return 1;
}
#else
// Elsewhere the window system is always there.
std::optional<int> RequireDisplay(int, char**) { return std::nullopt; }
#endif

}  // namespace launch
