// Feeds arbitrary bytes to the .AAD loader: it must refuse them with the
// archive's error or load them whole, and what it loads must store back to
// the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "analysis/AssociationData.h"
#include "core/GlobalData.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "tests/core/fuzz/FuzzFolder.h"

namespace {

const CGlobalData& Global() {
  static const CGlobalData global;
  return global;
}

std::string Stored(AssociationData& data) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    data.Serialize(ar);
    ar.Close();
  }
  return file.Bytes();
}

void WriteSeeds(const std::string& folder) {
  // The smallest array type keeps the seed small: a call byte per SNP and
  // sample, twenty bytes of results per SNP.
  AssociationData data(Global());
  data.caseNames = {"Case01.CHP", "Case02.CHP"};
  data.controlNames = {"Control01.CHP"};
  data.arrayType = "Mapping10K_Xba131";
  CMemFile empty;
  {
    CArchive ar(&empty, CArchive::store);
    data.Serialize(ar);
    ar.Close();
  }
  CMemFile loadable(empty.Bytes());
  CArchive in(&loadable, CArchive::load);
  data.Serialize(in);
  for (std::size_t s = 0; s < data.calls.size(); ++s)
    for (std::size_t i = 0; i < data.calls[s].size(); ++i) data.calls[s][i] = std::uint8_t((i * 7 + s) % 4);
  for (std::size_t i = 0; i < data.valid.size(); ++i) {
    data.valid[i] = i % 5 != 0;
    data.chiSquare[i] = float(i % 17) * 0.5f;
    data.pValue[i] = 1.0f / float(1 + i % 100);
  }
  fuzz_support::WriteSeed(folder, "three-samples.aad", Stored(data));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::WriteSeedsWhenAsked(WriteSeeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CMemFile file(bytes);
  CArchive ar(&file, CArchive::load);
  AssociationData loaded(Global());
  try {
    loaded.Serialize(ar);
  } catch (const CArchiveException&) {
    return 0;
  }
  // The version is kept as read, so a whole file stores back to itself.
  if (Stored(loaded) != bytes) std::abort();
  return 0;
}
