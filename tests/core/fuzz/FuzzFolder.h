#pragma once
// The one temporary folder a fuzz target of the program's own files works in
// (the loaders take folders and paths), removed when the fuzzer exits.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/File.h"

namespace fuzz_support {

inline std::string MakeFolder() {
  // The stores sync every file they replace; in memory that costs nothing,
  // on a disk it would make the fuzzer a hundred times slower.
  std::string pattern = std::filesystem::is_directory("/dev/shm") ? "/dev/shm/qova-fuzz-XXXXXX"
                                                                   : "/tmp/qova-fuzz-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  return pattern + "/";
}

// The folder, with a trailing '/'.
inline const std::string& Folder() {
  static const std::string folder = MakeFolder();
  static const bool removedAtExit = std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(Folder(), ignored);
  }) == 0;
  (void)removedAtExit;
  return folder;
}

// Writes the input as `name` in the folder and returns its path; aborts when
// it cannot, since every later result would be meaningless.
inline std::string WriteInput(const std::string& name, const std::uint8_t* bytes, std::size_t size) {
  const std::string path = Folder() + name;
  if (!platform::WriteWholeFile(path, std::string_view(reinterpret_cast<const char*>(bytes), size))) std::abort();
  return path;
}

}  // namespace fuzz_support
