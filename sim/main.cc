// glidepad-sim: plays the host app, injects libglidepad.so into it and runs a session script,
// the built-in demo, or the browser playground.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "DeviceRoot.h"
#include "Engine.h"
#include "Script.h"

namespace {

const char kUsage[] =
    "usage: glidepad-sim [--root DIR] [--quiet] [SCRIPT]\n"
    "       glidepad-sim [--root DIR] --serve [PORT]\n"
    "\n"
    "Plays the host app, injects libglidepad.so into it with dlopen, and runs a session script\n"
    "(SCRIPT, or - for standard input). With no script it runs the built-in demo session.\n"
    "\n"
    "  --root DIR     the simulated device's filesystem root; the settings file lives at its\n"
    "                 device path inside it (default: a new temporary folder, removed at exit)\n"
    "  --quiet        print no event log (failed checks are still reported)\n"
    "  --serve [PORT] serve the browser playground on 127.0.0.1 (default port 8765)\n"
    "  --help         show this help\n"
    "  --version      show the version\n"
    "\n"
    "Exit status: 0 when every check held, 1 when a check failed, 2 for a usage or script error.\n"
    "The session-script language is described in the README.\n";

int usageError(const std::string& message) {
  std::cerr << "glidepad-sim: " << message << "\n"
            << "Try 'glidepad-sim --help'.\n";
  return 2;
}

// Reads one byte past the longest script the parser takes, so that it refuses a longer one by name
// without the whole of it ever being held.
bool readAll(std::istream& in, std::string& out) {
  out.assign(sim::kMaxScriptBytes + 1, '\0');
  in.read(out.data(), static_cast<std::streamsize>(out.size()));
  out.resize(static_cast<size_t>(in.gcount()));
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  std::string root;
  std::string scriptPath;
  bool quiet = false;
  bool serve = false;
  int port = 8765;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--version") {
      std::cout << "glidepad-sim " << GLIDEPAD_VERSION << "\n";
      return 0;
    } else if (arg == "--quiet" || arg == "-q") {
      quiet = true;
    } else if (arg == "--root") {
      if (i + 1 == argc) return usageError("--root needs a folder");
      root = argv[++i];
      if (root.empty()) return usageError("--root needs a folder");
    } else if (arg == "--serve") {
      serve = true;
      if (i + 1 < argc && argv[i + 1][0] != '-') {
        char* end = nullptr;
        long value = std::strtol(argv[i + 1], &end, 10);
        if (*end != '\0' || value < 1 || value > 65535) {
          return usageError(std::string("--serve takes a port from 1 to 65535, got '") +
                            argv[i + 1] + "'");
        }
        port = static_cast<int>(value);
        ++i;
      }
    } else if (arg == "-" || arg.empty() || arg[0] != '-') {
      if (!scriptPath.empty()) return usageError("one script at a time");
      scriptPath = arg;
    } else {
      return usageError("unknown option '" + arg + "'");
    }
  }
  if (serve && !scriptPath.empty()) return usageError("--serve takes no script");

  std::string text, name, folder;
  if (scriptPath.empty()) {
    text = sim::demoScript();
    name = "demo";
    folder = std::filesystem::current_path().string();
  } else if (scriptPath == "-") {
    if (!readAll(std::cin, text)) return usageError("cannot read standard input");
    name = "-";
    folder = std::filesystem::current_path().string();
  } else {
    std::ifstream in(scriptPath, std::ios::binary);
    if (!in || !readAll(in, text)) {
      return usageError("cannot read script '" + scriptPath + "'");
    }
    name = scriptPath;
    folder = std::filesystem::absolute(scriptPath).parent_path().string();
  }

  sim::Script script;
  if (!serve) {
    try {
      script = sim::parseScript(text, name, folder);
    } catch (const sim::ScriptError& error) {
      std::cerr << error.what() << "\n";
      return 2;
    }
  }

  sim::DeviceRoot device;
  std::string problem = device.open(root);
  if (!problem.empty()) {
    std::cerr << "glidepad-sim: " << problem << "\n";
    return 2;
  }

  if (serve) return sim::serve(device, port);

  sim::Engine engine(device, quiet ? nullptr : &std::cout, std::cerr, name);
  try {
    for (const auto& command : script.commands) engine.run(command);
  } catch (const sim::RunError& error) {
    std::cerr << error.what() << "\n";
    return 2;
  }
  return engine.failedChecks() == 0 ? 0 : 1;
}
