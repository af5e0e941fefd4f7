// Feeds arbitrary bytes to the annotation-table loader. The first two bytes
// choose the row count (below 1024) and the layout; the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/BasicData.h"
#include "platform/Archive.h"
#include "platform/File.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::int32_t rows = ((data[0] << 8) | data[1]) & 0x3FF;
  const std::int32_t extended = (data[0] & 0x80) != 0 ? 1 : 0;
  CMemFile file(std::string(reinterpret_cast<const char*>(data + 2), size - 2));
  CArchive ar(&file, CArchive::load);
  CBasicData table;
  table.Allocate(rows, extended);
  try {
    table.SerializeTable(ar, rows);
  } catch (const CArchiveException&) {
  }
  return 0;
}
