// datagen --family N [--family M ...] --out FOLDER [--seed S]
// datagen --all --out FOLDER [--seed S]
// Writes generated annotation tables and the cytoband table into FOLDER.
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "tools/datagen/DataGen.h"

namespace {

int Usage() {
  std::cerr << "usage: datagen (--family N ... | --all) --out FOLDER [--seed S] [--cytoband FILE]\n"
               "  N is an array family 0..6; the same seed always gives the same files\n";
  return 2;
}

bool ParseNumber(const std::string& text, unsigned long long& value) {
  if (text.empty() || text[0] == '-') return false;
  char* end = nullptr;
  value = std::strtoull(text.c_str(), &end, 10);
  return *end == 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> families;
  std::string out, cytoband;
  unsigned long long seed = datagen::kDefaultSeed;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    unsigned long long number = 0;
    if (arg == "--all") {
      families = datagen::AllFamilies();
    } else if (arg == "--family" && hasValue && ParseNumber(argv[i + 1], number) && number <= 6) {
      families.push_back(static_cast<int>(number));
      ++i;
    } else if (arg == "--seed" && hasValue && ParseNumber(argv[i + 1], number)) {
      seed = number;
      ++i;
    } else if (arg == "--out" && hasValue) {
      out = argv[++i];
    } else if (arg == "--cytoband" && hasValue) {
      cytoband = argv[++i];
    } else {
      return Usage();
    }
  }
  if (families.empty() || out.empty()) return Usage();
  try {
    datagen::WriteDataFolder(out, families, seed, cytoband);
  } catch (const std::exception& e) {
    std::cerr << "datagen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
