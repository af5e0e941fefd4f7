// Feeds arbitrary bytes to the .CFS/.CFN/.CFA loaders in every layout: they
// must refuse them with the archive's error, never crash or allocate beyond
// the sample capacity.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/AnalyzedData.h"
#include "platform/Archive.h"
#include "platform/File.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (AnalysisKind kind : {AnalysisKind::Self, AnalysisKind::NonSelf, AnalysisKind::NonSelfAllele}) {
    try {
      CMemFile file(bytes);
      CArchive ar(&file, CArchive::load);
      CAnalyzedData sample;
      sample.Serialize(ar, kind);
    } catch (const CArchiveException&) {
    }
    try {
      CMemFile file(bytes);
      CArchive ar(&file, CArchive::load);
      CAnalyzedData sample;
      sample.Allocate(1000, kind);
      sample.SerializeSample(ar, kind, FALSE);
    } catch (const CArchiveException&) {
    }
  }
  return 0;
}
