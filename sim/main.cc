// glidepad-sim: plays the host app, injects libglidepad.so into it and runs a session script,
// the built-in demo, or the browser playground.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "sim/Demo.h"
#include "sim/DeviceRoot.h"
#include "sim/Engine.h"
#include "sim/InterruptCleanup.h"
#include "sim/Script.h"
#include "sim/Serve.h"

namespace {

const char kUsage[] =
    "usage: glidepad-sim [--root DIR] [--quiet] [SCRIPT]\n"
    "       glidepad-sim [--root DIR] --serve [PORT]\n"
    "\n"
    "Plays the host app, injects libglidepad.so into it with dlopen, and runs a session script\n"
    "(SCRIPT, a file, or - for standard input). With no script it runs the built-in demo session.\n"
    "\n"
    "  --root DIR, --root=DIR\n"
    "                 the simulated device's filesystem root; the settings file lives at its\n"
    "                 device path inside it (default: a new temporary folder, removed at exit,\n"
    "                 also when SIGINT, SIGTERM or SIGHUP ends the run)\n"
    "  -q, --quiet    print no event log (failed checks and warnings are still reported)\n"
    "  --serve [PORT], --serve=PORT\n"
    "                 serve the browser playground on 127.0.0.1 (default port 8765) instead of\n"
    "                 running a script; Ctrl-C or SIGTERM stops it\n"
    "  -h, --help     show this help\n"
    "  --version      show the version\n"
    "\n"
    "Exit status: 0 when every check held, 1 when a check failed (standard error ends with\n"
    "\"N of M checks failed\"), 2 for a usage or script error or a command that cannot run.\n"
    "The session-script language is described in the README.\n";

int usageError(const std::string& message) {
  std::cerr << "glidepad-sim: " << message << "\n"
            << "Try 'glidepad-sim --help'.\n";
  return 2;
}

// The port of `--serve PORT` or `--serve=PORT`, or 0 for text that is not one.
int portFrom(const char* text) {
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || errno != 0 || value < 1 || value > 65535) return 0;
  return static_cast<int>(value);
}

// Reads one byte past the longest script the parser takes, so that it refuses a longer one by name
// without the whole of it ever being held.
bool readAll(std::istream& in, std::string& out) {
  out.assign(sim::kMaxScriptBytes + 1, '\0');
  in.read(out.data(), static_cast<std::streamsize>(out.size()));
  out.resize(static_cast<size_t>(in.gcount()));
  return !in.bad();
}

struct Options {
  std::string root;
  std::string scriptPath;  // empty: the demo; "-": standard input
  bool quiet = false;
  bool serve = false;
  int port = 8765;
};

// Reads the command line into `options`; answers an exit status where the run ends here (help,
// version, a usage error).
std::optional<int> parseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--version") {
      std::cout << "glidepad-sim " << GLIDEPAD_VERSION << "\n";
      return 0;
    } else if (arg == "--quiet" || arg == "-q") {
      options.quiet = true;
    } else if (arg == "--root" || arg.rfind("--root=", 0) == 0) {
      if (arg == "--root") {
        if (i + 1 == argc) return usageError("--root needs a folder");
        options.root = argv[++i];
      } else {
        options.root = arg.substr(7);
      }
      if (options.root.empty()) return usageError("--root needs a folder");
    } else if (arg == "--serve" || arg.rfind("--serve=", 0) == 0) {
      options.serve = true;
      bool spaced = arg == "--serve";
      if (spaced && (i + 1 == argc || argv[i + 1][0] == '-')) continue;  // the default port
      std::string text = spaced ? argv[++i] : arg.substr(8);
      options.port = portFrom(text.c_str());
      if (options.port == 0) {
        return usageError("--serve takes a port from 1 to 65535, got '" + text + "'");
      }
    } else if (arg == "-" || arg.empty() || arg[0] != '-') {
      if (!options.scriptPath.empty()) return usageError("one script at a time");
      options.scriptPath = arg;
    } else {
      return usageError("unknown option '" + arg + "'");
    }
  }
  if (options.serve && !options.scriptPath.empty()) return usageError("--serve takes no script");
  return std::nullopt;
}

struct ScriptText {
  std::string text, name, folder;
};

// The script to run, or the exit status of a script that cannot be read.
std::optional<int> readScript(const std::string& path, ScriptText& script) {
  std::error_code error;
  if (path.empty()) {
    script = {sim::demoScript(), "demo", std::filesystem::current_path().string()};
  } else if (path == "-") {
    if (!readAll(std::cin, script.text)) return usageError("cannot read standard input");
    script.name = "-";
    script.folder = std::filesystem::current_path().string();
  } else if (std::filesystem::is_directory(path, error)) {
    return usageError("the script '" + path + "' is a folder; give one session script");
  } else {
    std::ifstream in(path, std::ios::binary);
    if (!in || !readAll(in, script.text)) return usageError("cannot read script '" + path + "'");
    script.name = path;
    script.folder = std::filesystem::absolute(path).parent_path().string();
  }
  return std::nullopt;
}

int run(const sim::Script& script, sim::DeviceRoot& device, bool quiet) {
  sim::Engine engine(device, quiet ? nullptr : &std::cout, std::cerr, script.name);
  try {
    for (const auto& command : script.commands) engine.run(command);
  } catch (const sim::RunError& error) {
    std::cerr << error.what() << "\n";
    return 2;
  }
  engine.finish();
  if (engine.failedChecks() == 0) return 0;
  std::cout.flush();  // the summary comes after the log, where a terminal shows both
  std::cerr << "glidepad-sim: " << engine.failedChecks() << " of " << engine.checks()
            << " checks failed\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (auto status = parseOptions(argc, argv, options)) return *status;

  // Made before any other thread, so that every thread has the signals blocked.
  std::optional<sim::InterruptCleanup> interrupts;
  if (!options.serve) interrupts.emplace();

  ScriptText text;
  if (auto status = readScript(options.scriptPath, text)) return *status;
  sim::Script script;
  if (!options.serve) {
    try {
      script = sim::parseScript(text.text, text.name, text.folder);
    } catch (const sim::ScriptError& error) {
      std::cerr << error.what() << "\n";
      return 2;
    }
  }

  sim::DeviceRoot device;
  std::string problem = device.open(options.root);
  if (!problem.empty()) {
    std::cerr << "glidepad-sim: " << problem << "\n";
    return 2;
  }
  if (options.serve) return sim::serve(device, options.port);
  if (device.temporary()) interrupts->removeOnInterrupt(device.path());
  return run(script, device, options.quiet);
}
