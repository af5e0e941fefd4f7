#pragma once
// Shared helpers of the CEL tests: the synthetic arrays, what each form keeps
// of a cell, and byte patching of written images.
#include <cstdint>
#include <string>

#include "platform/ByteOrder.h"
#include "tools/arraywriters/CelWriters.h"
#include "tools/arraywriters/GenericWriter.h"
#include "tests/support/TempHome.h"

namespace cel_test {

using arraywriters::CelArray;
using arraywriters::CelCell;
using arraywriters::CelForm;

inline constexpr const char* kChipType = "Mapping250K_Nsp";

// The small array every form is checked against: 3 columns, 4 rows.
inline CelArray SmallArray() { return arraywriters::MakeSyntheticCelArray(3, 4, kChipType); }

// What a form keeps of a cell's standard deviation and pixel count.
inline float ExpectedStdv(CelForm form, const CelCell& cell) {
  return form == CelForm::kCompact ? 0.0f : cell.stdv;
}
inline int ExpectedPixels(CelForm form, const CelCell& cell) {
  if (form == CelForm::kCompact) return 0;
  if (form == CelForm::kBcel) return cell.pixels & 0xFF;
  return cell.pixels;
}
// Whether a form keeps masked and outlier cells.
inline bool KeepsMasks(CelForm form) { return form != CelForm::kTextV2; }
inline bool KeepsOutliers(CelForm form) { return form != CelForm::kTextV2 && form != CelForm::kCompact; }

inline void PatchLE32(std::string& bytes, std::size_t offset, std::uint32_t value) {
  platform::WriteLE32(bytes.data() + offset, value);
}
inline void PatchBE32(std::string& bytes, std::size_t offset, std::uint32_t value) {
  platform::WriteBE32(bytes.data() + offset, value);
}
inline std::uint32_t LE32At(const std::string& bytes, std::size_t offset) {
  return platform::ReadLE32(bytes.data() + offset);
}
inline std::uint32_t BE32At(const std::string& bytes, std::size_t offset) {
  return platform::ReadBE32(bytes.data() + offset);
}

// Replaces every LF by CR LF.
inline std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// Tests that write CEL files into their temporary folder.
class CelFileTest : public qova::test::TempHomeTest {
 protected:
  std::string Save(const std::string& bytes, const std::string& name = "array.CEL") {
    std::string path = Path(name);
    EXPECT_TRUE(arraywriters::WriteBytes(path, bytes));
    return path;
  }
  std::string Save(CelForm form, const CelArray& array, const std::string& name = "array.CEL") {
    std::string path = Path(name);
    EXPECT_TRUE(arraywriters::SaveCelFile(path, form, array));
    return path;
  }
};

}  // namespace cel_test
