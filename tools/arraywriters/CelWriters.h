#pragma once
// Writers of CEL files in every form the readers take: text versions 3 and
// 2, the XDA form, the big-endian "BCEL" form, the compact "CCEL" form (and
// the refused older compact form), and the generic container form. Each
// writes one synthetic scanned array, described by a plain record, for tests,
// fuzz seeds, benchmarks and demo data.
//
// These writers are built from each form's layout on their own, without the
// readers' code, so that one misreading cannot hide in both.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "tools/arraywriters/GenericWriter.h"

namespace arraywriters {

struct CelCell {
  float intensity = 0.0f;
  float stdv = 0.0f;
  int pixels = 0;
};

struct CelCoord {
  int x = 0;
  int y = 0;
};

struct CelGridCorners {
  int upperLeftX = 0, upperLeftY = 0;
  int upperRightX = 0, upperRightY = 0;
  int lowerRightX = 0, lowerRightY = 0;
  int lowerLeftX = 0, lowerLeftY = 0;
};

// One scanned array. Cells are numbered y * cols + x.
struct CelArray {
  int cols = 0;
  int rows = 0;
  std::vector<CelCell> cells;
  std::string chipType;
  // The DAT header of the scan; the legacy forms find the chip type in it.
  std::string datHeader;
  std::string algorithm = "Percentile";
  std::string algorithmParameters;
  int cellMargin = 2;
  CelGridCorners grid;
  std::vector<CelCoord> masked;
  std::vector<CelCoord> outliers;
};

// The forms, in the order the tests and the benchmark walk them.
enum class CelForm { kTextV3, kTextV2, kXda, kBcel, kCompact, kGeneric };
inline constexpr CelForm kAllCelForms[] = {CelForm::kTextV3, CelForm::kTextV2, CelForm::kXda,
                                           CelForm::kBcel,   CelForm::kCompact, CelForm::kGeneric};
[[nodiscard]] const char* CelFormName(CelForm form);

// A DAT header as a scanner writes it, naming `chipType`'s library file.
[[nodiscard]] std::string MakeDatHeader(const std::string& chipType, int cols, int rows);
// A cols x rows array with distinct whole-number intensities (they survive
// every form, the 16-bit ones included), some masked and outlier cells and
// a full set of algorithm parameters.
[[nodiscard]] CelArray MakeSyntheticCelArray(int cols, int rows, const std::string& chipType);

// The header text the text and XDA forms carry ("Cols=..." to "AlgorithmParameters=...").
[[nodiscard]] std::string CelHeaderText(const CelArray& array);

void WriteTextV3Cel(std::ostream& out, const CelArray& array);
void WriteTextV2Cel(std::ostream& out, const CelArray& array);
void WriteXdaCel(std::ostream& out, const CelArray& array);
void WriteBcelCel(std::ostream& out, const CelArray& array);
void WriteCompactCel(std::ostream& out, const CelArray& array);
// The compact layout behind the magic of the older compact form.
void WriteOldCompactCel(std::ostream& out, const CelArray& array);

// Options of the generic container form.
struct GenericCelOptions {
  // Intensities as unsigned 16-bit cells instead of floats.
  bool intensityAsUInt16 = false;
  // Data sets left out of the file.
  bool omitStdDev = false;
  bool omitPixel = false;
  bool omitOutlier = false;
  bool omitMask = false;
  // The DAT header given only as a partial header with the scan's pixel range.
  bool partialDatHeader = false;
  std::uint16_t minPixelIntensity = 10;
  std::uint16_t maxPixelIntensity = 46000;
};
// The generic file as a spec, for tests that change it before writing.
[[nodiscard]] GenericFileSpec GenericCelSpec(const CelArray& array, const GenericCelOptions& options = {});
void WriteGenericCel(std::ostream& out, const CelArray& array, const GenericCelOptions& options = {});

void WriteCel(std::ostream& out, CelForm form, const CelArray& array);
// The file's bytes in one string (small arrays: seeds and byte-patching tests).
[[nodiscard]] std::string CelImage(CelForm form, const CelArray& array);
// Writes the array in `form` to a file (a program path); false when it cannot.
bool SaveCelFile(const std::string& path, CelForm form, const CelArray& array);

}  // namespace arraywriters
