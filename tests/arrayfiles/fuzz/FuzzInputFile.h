#pragma once
// The one temporary file a fuzz target writes each input to (the readers take
// file names), removed when the fuzzer exits.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz_support {

inline std::string MakeInputFile() {
  char pattern[] = "/tmp/qova-fuzz-input-XXXXXX";
  int fd = mkstemp(pattern);
  if (fd < 0) std::abort();
  close(fd);
  return pattern;
}

inline const std::string& InputPath() {
  static const std::string path = MakeInputFile();
  static const bool removedAtExit = std::atexit([] { std::remove(InputPath().c_str()); }) == 0;
  (void)removedAtExit;
  return path;
}

// Writes the input to InputPath(); false when it cannot.
inline bool WriteInput(const std::uint8_t* bytes, std::size_t size) {
  FILE* file = std::fopen(InputPath().c_str(), "wb");
  if (file == nullptr) return false;
  const bool ok = std::fwrite(bytes, 1, size, file) == size;
  return std::fclose(file) == 0 && ok;
}

}  // namespace fuzz_support
