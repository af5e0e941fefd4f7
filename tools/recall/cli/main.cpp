// recall [FOLDER] [--type NAME] [--sd A,B,...] [--seed S] [--window N] [--normal] [--means M0,...,M6]
// Generates a study per noise level in FOLDER (default: recall/ under the
// build folder), analyses it through the main document's commands and prints
// the share of each planted event called, and the false calls. --window,
// --normal (Gaussian emission) and --means try model settings other than the
// program's defaults.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <sstream>
#include <string>

#include "core/ArrayTypes.h"
#include "tools/recall/Recall.h"

namespace {

int Usage() {
  std::cerr << "usage: recall [FOLDER] [--type NAME] [--sd A,B,...] [--seed S] [--window N] [--normal]\n"
               "              [--means M0,M1,M2,M3,M4,M5,M6]\n";
  return 2;
}

// A comma-separated list of numbers, each within (low, high).
bool ParseNumbers(const std::string& text, double low, double high, std::vector<double>& numbers) {
  numbers.clear();
  std::istringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) {
    char* end = nullptr;
    const double x = std::strtod(item.c_str(), &end);
    if (item.empty() || *end != 0 || !(x > low && x < high)) return false;
    numbers.push_back(x);
  }
  return !numbers.empty();
}

}  // namespace

int main(int argc, char** argv) {
  recall::RecallOptions options;
  options.Folder = QOVA_RECALL_DEFAULT_FOLDER;
  std::vector<double> means;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--normal") {
      options.NormalEmission = true;
      continue;
    }
    if (arg.rfind("--", 0) != 0) {
      options.Folder = arg;
      continue;
    }
    if (i + 1 >= argc) return Usage();
    const std::string value = argv[++i];
    char* end = nullptr;
    const unsigned long long number = std::strtoull(value.c_str(), &end, 10);
    if (arg == "--type" && qova::core::FindArrayType(value) != nullptr) {
      options.ArrayType = value;
    } else if (arg == "--sd" && ParseNumbers(value, 0.0, 2.0, options.TargetSd)) {
    } else if (arg == "--window" && *end == 0 && number >= 1 && number <= 100) {
      options.MovingAverageWindow = static_cast<int>(number);
    } else if (arg == "--means" && ParseNumbers(value, -10.0, 10.0, means) && means.size() == 7) {
      options.HmmMeans.emplace();
      std::copy(means.begin(), means.end(), options.HmmMeans->begin());
    } else if (arg == "--seed" && !value.empty() && value[0] != '-' && *end == 0) {
      options.Seed = number;
    } else {
      return Usage();
    }
  }
  try {
    const auto start = std::chrono::steady_clock::now();
    const std::vector<recall::LevelRecall> levels = recall::RunRecall(options, std::cerr);
    recall::PrintRecall(levels, std::cout);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "\n" << options.ArrayType << ", seed " << options.Seed << ", done in " << static_cast<int>(seconds)
              << " s.\n";
  } catch (const std::exception& e) {
    std::cerr << "recall: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
