// sampledump FILE [--snps N] [--family K] [--rows N]
// Prints what the sample layer reads from a .CFH, .CFS, .CFN or .CFA sample
// file or a BasicData annotation table (given its family). Exit status 0 on
// success, 1 when the file cannot be read, 2 for a usage error.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/Paths.h"
#include "platform/Strings.h"
#include "tools/sampledump/Dump.h"

namespace {

struct DumperEntry {
  const char* extension;  // compared ignoring case
  sampledump::Dumper dump;
};

constexpr DumperEntry kDumpers[] = {
    {".CFH", sampledump::DumpExtractedSample},
    {".CFS", sampledump::DumpAnalyzedSample},
    {".CFN", sampledump::DumpAnalyzedSample},
    {".CFA", sampledump::DumpAnalyzedSample},
    {".dtt", sampledump::DumpBasicData},
};

void Usage() {
  std::fprintf(stderr,
               "usage: sampledump FILE [--snps N] [--family K] [--rows N]\n"
               "  FILE      a .CFH, .CFS, .CFN or .CFA sample file, or a BasicData*.dtt\n"
               "            table (needs --family)\n"
               "  --snps N  print at most N per-SNP (or per-row) lines\n"
               "  --family K  the annotation family 0..6 of a .dtt table\n"
               "  --rows N  the row count of a .dtt table (default: the family's)\n");
}

bool ParseCount(const char* text, std::int64_t& value) {
  char* end = nullptr;
  const long long v = std::strtoll(text, &end, 10);
  if (end == text || *end != '\0' || v < 0) return false;
  value = v;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  sampledump::Options options;
  for (int k = 1; k < argc; ++k) {
    const std::string_view arg = argv[k];
    const bool hasValue = k + 1 < argc;
    std::int64_t value = 0;
    if ((arg == "--snps" || arg == "--family" || arg == "--rows") && hasValue && ParseCount(argv[k + 1], value)) {
      if (arg == "--snps") options.snps = value;
      if (arg == "--rows") options.rows = value;
      if (arg == "--family") options.family = value > 1000 ? -1 : static_cast<int>(value);
      ++k;
    } else if (!arg.starts_with("--") && options.path.empty()) {
      options.path = arg;
    } else {
      Usage();
      return 2;
    }
  }
  if (options.path.empty()) {
    Usage();
    return 2;
  }
  const std::string extension = platform::ExtensionOf(platform::FileNameOf(options.path));
  for (const DumperEntry& entry : kDumpers) {
    if (!platform::EqualsNoCase(extension, entry.extension)) continue;
    try {
      entry.dump(options, stdout);
      return std::fflush(stdout) == 0 ? 0 : 1;
    } catch (const std::invalid_argument& e) {
      std::fprintf(stderr, "sampledump: %s\n", e.what());
      return 2;
    } catch (const std::exception& e) {
      std::fflush(stdout);
      std::fprintf(stderr, "sampledump: %s: %s\n", options.path.c_str(), e.what());
      return 1;
    }
  }
  std::fprintf(stderr, "sampledump: %s: not a file kind this tool reads\n", options.path.c_str());
  return 2;
}
