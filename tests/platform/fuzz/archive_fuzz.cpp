// Feeds arbitrary bytes to the archive reader: every input must end in a value
// or an archive exception, never a crash or an allocation beyond the input.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/Archive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CMemFile file(std::string(reinterpret_cast<const char*>(data), size));
  CArchive ar(&file, CArchive::load);
  try {
    for (;;) {
      std::uint8_t op;
      ar >> op;
      switch (op % 6) {
        case 0: { std::string s; ar >> s; break; }
        case 1: { CTime t; ar >> t; break; }
        case 2: { std::int32_t v; ar >> v; break; }
        case 3: { double d; ar >> d; break; }
        case 4: {
          std::uint32_t count;
          ar >> count;
          ar.CheckAvailable(count, 4);
          std::string block(std::size_t(count) * 4, '\0');
          ar.ReadExact(block.data(), block.size());
          break;
        }
        default: { bool b; ar >> b; break; }
      }
    }
  } catch (const CArchiveException&) {
  }
  return 0;
}
