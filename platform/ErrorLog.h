#pragma once
// The error log of batch work: "c:\errorlog.txt" (under the drive root),
// opened for appending, one line per failed item.
#include <string>
#include <string_view>
#include <vector>

namespace platform {

inline constexpr const char* kErrorLogPath = "c:\\errorlog.txt";

// Appends `line` and a line end. False when the log cannot be written, and
// then, when given, `why` tells why ("the folder F cannot be created", or
// the system's words naming the log).
bool AppendErrorLog(std::string_view line, std::string* why = nullptr);

// While one lives, the lines this thread appends are kept in Lines instead of
// written, so that work done on a worker thread can be logged later, in order,
// by the thread that owns the log.
class ScopedErrorLogCapture {
 public:
  ScopedErrorLogCapture();
  ~ScopedErrorLogCapture();
  ScopedErrorLogCapture(const ScopedErrorLogCapture&) = delete;
  ScopedErrorLogCapture& operator=(const ScopedErrorLogCapture&) = delete;

  std::vector<std::string> Lines;

 private:
  ScopedErrorLogCapture* previous_;
};

}  // namespace platform
