#pragma once
// The one temporary folder a fuzz target of the program's own files works in
// (the loaders take folders and paths), removed when the fuzzer exits.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/File.h"
#include "platform/MessageBox.h"

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

// Message boxes answer their default button and are neither shown nor kept,
// so millions of runs neither print nor pile up texts.
inline void QuietMessages() {
  class Quiet : public platform::MessageSink {
   public:
    int Show(std::string_view, UINT type) override { return platform::DefaultButton(type); }
  };
  static Quiet quiet;
  platform::SetMessageSink(&quiet);
}

// A target's seeds are written by the program's own writers: run the target
// with QOVA_FUZZ_SEEDS set to its corpus folder and `write` fills that folder
// (each seed a file) before the program ends. Called from LLVMFuzzerInitialize.
inline void WriteSeedsWhenAsked(const std::function<void(const std::string& folder)>& write) {
  const char* folder = std::getenv("QOVA_FUZZ_SEEDS");
  if (folder == nullptr || *folder == '\0') return;
  std::filesystem::create_directories(folder);
  write(std::string(folder) + "/");
  std::exit(0);
}

// Writes `bytes` as seed `name` of `folder`.
inline void WriteSeed(const std::string& folder, const std::string& name, std::string_view bytes) {
  if (!platform::WriteWholeFile(folder + name, bytes)) std::abort();
}

}  // namespace fuzz_support
