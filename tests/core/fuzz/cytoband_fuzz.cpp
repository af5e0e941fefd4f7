// Feeds arbitrary bytes to the cytoband loaders: the first byte chooses the
// table file or the old text table, the rest is the file. A table that loads
// is then mapped to SNPs and asked for band names, so every index it holds is
// used the way the views use it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/ArrayTypes.h"
#include "core/Cytoband.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "tests/core/fuzz/FuzzFolder.h"

namespace {

void UseTable(CCytoband& table) {
  // Synthetic positions rising by 10 kb a SNP reach every band of a real table.
  table.MapToSnps(qova::core::kArrayChromosomeStarts[0], [](int snp) { return std::int64_t{snp} * 10000; });
  std::string label;
  for (int chromosome = -1; chromosome <= CCytoband::kChromosomeSlots; ++chromosome) {
    for (int value : {-1, 0, 500, 20000000, 2147483647}) {
      table.GetBandName(label, chromosome, value, TRUE);
      table.GetBandName(label, chromosome, value, FALSE);
    }
  }
  CCytoband copy;
  copy.Copy(table);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  static platform::RecordingMessageSink messages;
  platform::SetMessageSink(&messages);
  CCytoband table;
  if ((data[0] & 1) == 0) {
    CMemFile file(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    CArchive ar(&file, CArchive::load);
    try {
      table.Serialize(ar);
      UseTable(table);
    } catch (const CArchiveException&) {
    }
  } else {
    platform::RemoveFile(fuzz_support::Folder() + "Cytoband.dtt");
    fuzz_support::WriteInput("cytoband2.txt", data + 1, size - 1);
    if (table.LoadFrom(fuzz_support::Folder())) UseTable(table);
  }
  messages.Clear();
  return 0;
}
