// Feeds arbitrary bytes to the .CFH loader: it must refuse them with the
// archive's error, never crash or allocate beyond the sample capacity.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/ArrayData.h"
#include "platform/Archive.h"
#include "platform/File.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CMemFile file(std::string(reinterpret_cast<const char*>(data), size));
  CArchive ar(&file, CArchive::load);
  CArrayData sample;
  try {
    sample.SerializeSample(ar, FALSE, TRUE);
    sample.SerializeSample(ar, TRUE, FALSE);
  } catch (const CArchiveException&) {
  }
  return 0;
}
