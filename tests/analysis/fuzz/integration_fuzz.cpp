// Feeds arbitrary bytes to the .cfi loader: it must refuse them with the
// archive's error or load them whole, and what it loads must save and load
// back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "analysis/IntegrationData.h"
#include "core/GlobalData.h"
#include "platform/Archive.h"
#include "tests/core/fuzz/FuzzFolder.h"

namespace {

const CGlobalData& Global() {
  static const CGlobalData global;
  return global;
}

void WriteSeeds(const std::string& folder) {
  IntegrationData empty(Global());
  empty.Mode = "LOH";
  empty.Order = "ID";
  if (!empty.Save(folder + "empty.cfi")) std::abort();
  IntegrationData some(Global());
  some.Mode = "AddDel";
  some.Order = "Amount";
  some.Title = "Gains and losses";
  some.MinRun = 5;
  some.SampleNames = {"Tumour01.CFN", "Tumour02.CFN", "Cell03.CFS"};
  for (std::int32_t k = 0; k < 9; ++k)
    some.Segments.push_back({k % 3, 1000000 * k, 1000000 * k + 250000, 1 + k * 5 % 23, 1 + k % 4});
  if (!some.Save(folder + "adddel.cfi")) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::WriteSeedsWhenAsked(WriteSeeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz_support::WriteInput("in.cfi", data, size);
  IntegrationData loaded(Global());
  try {
    if (!loaded.Load(path)) return 0;
  } catch (const CArchiveException&) {
    return 0;
  }
  if (!loaded.Save(fuzz_support::Folder() + "out.cfi")) std::abort();
  IntegrationData again(Global());
  if (!again.Load(fuzz_support::Folder() + "out.cfi")) std::abort();
  if (again.Mode != loaded.Mode || again.Order != loaded.Order || again.Title != loaded.Title ||
      again.MinRun != loaded.MinRun || again.SampleNames != loaded.SampleNames || again.Segments != loaded.Segments)
    std::abort();
  return 0;
}
