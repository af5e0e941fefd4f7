#pragma once
// The error log of batch work: "c:\errorlog.txt" (under the drive root),
// opened for appending, one line per failed item.
#include <string>
#include <string_view>

namespace platform {

inline constexpr const char* kErrorLogPath = "c:\\errorlog.txt";

// Appends `line` and a line end. False when the log cannot be written.
bool AppendErrorLog(std::string_view line);

}  // namespace platform
