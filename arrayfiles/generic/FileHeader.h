#pragma once
// What a generic file's headers hold, as read.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "arrayfiles/generic/DataGroupHeader.h"
#include "arrayfiles/generic/GenericDataHeader.h"

namespace generic_io {

// The first two bytes of every generic file.
inline constexpr std::uint8_t kGenericFileMagic = 59;
inline constexpr std::uint8_t kGenericFileVersion = 1;

struct FileHeader {
  std::string fileName;  // the path the header was read from
  // The constants, never taken from the file (the reader refuses other values).
  std::uint8_t magic = kGenericFileMagic;
  std::uint8_t version = kGenericFileVersion;
  std::vector<DataGroupHeader> dataGroupHeaders;
  GenericDataHeader genericHeader;
  std::int32_t numDataGroups = 0;
  std::uint32_t firstDataGroupPos = 0;

  // Keeps the file name.
  void Clear();
  // The first group header of exactly that name, or null.
  [[nodiscard]] DataGroupHeader* FindDataGroupHeader(std::u16string_view name);
};

}  // namespace generic_io
