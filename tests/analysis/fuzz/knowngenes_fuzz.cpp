// Feeds arbitrary text to the known-genes table and asks it for the genes of
// every chromosome, as the exports of copy-number changes do.
#include <cstddef>
#include <cstdint>
#include <limits>

#include "analysis/KnownGenes.h"
#include "platform/Strings.h"
#include "tests/core/fuzz/FuzzFolder.h"

namespace {

void WriteSeeds(const std::string& folder) {
  std::string text = "chrom\ttxStart\ttxEnd\tname\n";
  const char* chromosomes[] = {"1", "1", "2", "7", "X", "x", "23", "Y", "chr1", "12x"};
  for (int k = 0; k < 10; ++k)
    text += platform::Format("%s\t%d\t%d\tGENE%d\n", chromosomes[k], 1000000 * k, 1000000 * k + 50000, k);
  text += "3\t\t\t100\t200\tTABS\n5\t10\n";
  fuzz_support::WriteSeed(folder, "knowngenes.txt", text);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::WriteSeedsWhenAsked(WriteSeeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz_support::WriteInput("knowngenes.txt", data, size);
  KnownGenes genes;
  if (!genes.Load(path)) return 0;
  constexpr std::int32_t kMost = std::numeric_limits<std::int32_t>::max();
  for (int c = -1; c <= KnownGenes::kLastChromosome + 1; ++c) {
    (void)genes.GenesInRange(c, 0, kMost);
    (void)genes.GenesInRange(c, -kMost - 1, 5000000);
  }
  return 0;
}
