// demo [FOLDER] [--type NAME] [--seed S] [--threads N]
// Generates the demo data and array files into FOLDER (default: demo/ under
// the build folder), runs Extract Data and the Sample Manager's analyses on
// them headlessly, and prints what was written and the planted versus called
// segments. Exits 1 when a planted segment was not called.
#include <chrono>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "core/ArrayTypes.h"
#include "tools/demo/Demo.h"

namespace {

int Usage() {
  std::cerr << "usage: demo [FOLDER] [--type NAME] [--seed S] [--threads N]\n";
  return 2;
}

// A planted segment counts as called when most of its SNPs are.
constexpr double kCalledShare = 0.8;

}  // namespace

int main(int argc, char** argv) {
  demo::DemoOptions options;
  options.Folder = QOVA_DEMO_DEFAULT_FOLDER;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--", 0) != 0) {
      options.Folder = arg;
      continue;
    }
    if (i + 1 >= argc) return Usage();
    const std::string value = argv[++i];
    char* end = nullptr;
    const unsigned long long number = std::strtoull(value.c_str(), &end, 10);
    const bool isNumber = !value.empty() && value[0] != '-' && *end == 0;
    if (arg == "--type" && qova::core::FindArrayType(value) != nullptr) {
      options.ArrayType = value;
    } else if (arg == "--seed" && isNumber) {
      options.Seed = number;
    } else if (arg == "--threads" && isNumber && number >= 1 && number <= 64) {
      options.Threads = static_cast<int>(number);
    } else {
      return Usage();
    }
  }
  try {
    const auto start = std::chrono::steady_clock::now();
    const demo::DemoOutcome outcome = demo::RunDemo(options, std::cout);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "\nWritten below " << options.Folder << ":\n";
    for (const std::string& file : outcome.Written) {
      std::error_code error;
      const auto bytes = std::filesystem::file_size(std::filesystem::path(options.Folder) / file, error);
      std::cout << "  " << file << "  (" << (error ? 0 : bytes) / 1024 << " KB)\n";
    }
    demo::PrintOutcome(outcome, std::cout);
    std::cout << "\nDone in " << static_cast<int>(seconds) << " s.\n";
    for (const demo::SampleOutcome& sample : outcome.Samples) {
      for (const demo::PlantedOutcome& planted : sample.Planted) {
        if (planted.ShareCalled < kCalledShare) return 1;
      }
    }
  } catch (const std::exception& e) {
    std::cerr << "demo: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
