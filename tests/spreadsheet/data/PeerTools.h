// Outside references for numeric results: numpy and glpsol, run as programs.
// They exist only on the machine the native tests run on; the Windows builds,
// and machines without them, skip the tests that need them with a message.
#pragma once

#include <cstdio>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace corvane::testing {

// The standard output of `command` run by the shell, or nothing when it could
// not run or exited non-zero.
inline std::optional<std::string> RunPeer(const std::string& command) {
#ifdef _WIN32
  (void)command;
  return std::nullopt;
#else
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  std::string output;
  char buffer[4096];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  return pclose(pipe) == 0 ? std::optional<std::string>(output) : std::nullopt;
#endif
}

// The Debian interpreter, which is where python3-numpy installs.
inline const char* const kPython = "/usr/bin/python3";

inline bool HaveNumpy() { return RunPeer(std::string(kPython) + " -c 'import numpy'").has_value(); }
inline bool HaveGlpsol() { return RunPeer("glpsol --version").has_value(); }

// Runs a numpy script (given the names np and the doubles in `values` as the
// list v) and reads the numbers it prints, whitespace apart.
inline std::optional<std::vector<double>> RunNumpy(const std::string& script, const std::vector<double>& values) {
  std::ostringstream program;
  program.precision(17);
  program << "import numpy as np\nv=[";
  for (double x : values) program << x << ",";
  program << "]\n" << script;
  std::string quoted;
  for (char c : program.str()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  std::optional<std::string> output = RunPeer(std::string(kPython) + " -c '" + quoted + "'");
  if (!output) return std::nullopt;
  std::istringstream in(*output);
  std::vector<double> numbers;
  for (double x; in >> x;) numbers.push_back(x);
  return numbers;
}

}  // namespace corvane::testing
