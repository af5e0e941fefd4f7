#pragma once
// Runs the built arraydump tool for the tests of what it prints.
#include <cstdio>
#include <string>

#include <sys/wait.h>

namespace arraydump_test {

struct DumpResult {
  std::string output;  // standard output, and standard error where asked for
  int status = -1;     // exit status
};

enum class Errors { Dropped, Kept };

// `options` go before the file, as given ("--sets 2").
inline DumpResult RunArrayDump(const std::string& path, const std::string& options = "",
                               Errors errors = Errors::Dropped) {
  DumpResult result;
  const std::string command = std::string(QOVA_ARRAYDUMP) + " " + options + " '" + path + "' " +
                              (errors == Errors::Kept ? "2>&1" : "2>/dev/null");
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, got);
  const int raw = pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return result;
}

// True when `line` is one whole line of `text`.
inline bool HasLine(const std::string& text, const std::string& line) {
  return text.find("\n" + line + "\n") != std::string::npos || text.starts_with(line + "\n");
}

}  // namespace arraydump_test
