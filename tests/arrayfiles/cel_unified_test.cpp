// One array written in every CEL form, read back through UnifiedCELData, and
// the adapter choice and the legacy adapter's own rules.
#include <gtest/gtest.h>

#include <algorithm>

#include "arrayfiles/cel/CELData.h"
#include "arrayfiles/common/StringUtils.h"
#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/unified/LegacyCELDataAdapter.h"
#include "arrayfiles/unified/UnifiedCELData.h"
#include "cel_test_files.h"
#include "platform/Paths.h"
#include "tests/support/TempHome.h"

namespace {

using arraywriters::CelArray;
using arraywriters::CelForm;
using arraywriters::CelImage;
using arraywriters::kAllCelForms;
using arraywriters::WriteBytes;
using unified_io::LegacyCELDataAdapter;
using unified_io::UnifiedCELData;
using unified_io::UnifiedCELFileEntry;
using namespace cel_test;

class UnifiedCelTest : public CelFileTest {};

// Reads every cell by (x, y) and compares it with what the form keeps.
void ExpectEveryCell(UnifiedCELData& cel, CelForm form, const CelArray& array) {
  int mismatches = 0;
  for (int y = 0; y < array.rows; ++y) {
    for (int x = 0; x < array.cols; ++x) {
      const auto& cell = array.cells[std::size_t(y) * std::size_t(array.cols) + std::size_t(x)];
      UnifiedCELFileEntry entry;
      cel.GetEntry(x, y, entry);
      if (entry.Intensity != cell.intensity || entry.Stdv != ExpectedStdv(form, cell) ||
          entry.Pixels != ExpectedPixels(form, cell)) {
        if (++mismatches < 5) {
          ADD_FAILURE() << "cell " << x << "," << y << ": " << entry.Intensity << " " << entry.Stdv << " "
                        << entry.Pixels;
        }
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
  // The many-cell read gives each cell's entry intensity, in the order asked
  // (here backwards), and 0 for an index without a cell.
  const int cells = array.rows * array.cols;
  std::vector<std::int32_t> indexes{-1, cells};
  for (int i = cells - 1; i >= 0; --i) indexes.push_back(i);
  std::vector<float> intensities(indexes.size(), -1.0f);
  cel.GetIntensities(indexes, intensities);
  int differing = 0;
  for (std::size_t i = 0; i < indexes.size(); ++i) {
    UnifiedCELFileEntry entry;
    cel.GetEntry(indexes[i], entry);
    if (intensities[i] != entry.Intensity && ++differing < 5) ADD_FAILURE() << "index " << indexes[i];
  }
  EXPECT_EQ(intensities[0], 0.0f);
  EXPECT_EQ(intensities[1], 0.0f);
}

TEST_F(UnifiedCelTest, EveryFormReadsBackTheSameArray) {
  const CelArray array = SmallArray();
  for (CelForm form : kAllCelForms) {
    SCOPED_TRACE(arraywriters::CelFormName(form));
    UnifiedCELData cel;
    cel.SetFileName(Save(form, array));
    ASSERT_TRUE(cel.Read(true));
    EXPECT_EQ(cel.GetChipType(), u"Mapping250K_Nsp");
    EXPECT_EQ(cel.GetCols(), 3);
    EXPECT_EQ(cel.GetRows(), 4);
    EXPECT_EQ(cel.GetNumCells(), 12);
    ExpectEveryCell(cel, form, array);
    // The generic form is read by the generic adapter, every other by the legacy one.
    EXPECT_EQ(cel.GetGenericData() != nullptr, form == CelForm::kGeneric);
    EXPECT_EQ(cel.IsMasked(1, 0), KeepsMasks(form));
    EXPECT_EQ(cel.IsOutlier(0, 3), KeepsOutliers(form));
    EXPECT_EQ(cel.IsMasked(cel.XYToIndex(2, 3)), cel.IsMasked(2, 3));
    EXPECT_EQ(cel.GetNumMasked(), KeepsMasks(form) ? 2 : 0);
    EXPECT_EQ(cel.GetNumOutliers(), KeepsOutliers(form) ? 2 : 0);
    if (form != CelForm::kTextV2) {
      EXPECT_EQ(cel.GetAlg(), u"Percentile");
      EXPECT_EQ(cel.GetAlgorithmParameter(u"Percentile"), u"75");
      EXPECT_EQ(cel.GetCellMargin(), 2);
      const unified_io::UnifiedGridCoords grid = cel.GetGridCorners();
      EXPECT_EQ(grid.upperrightx, 18000.0f);
      EXPECT_EQ(grid.lowerlefty, 18005.0f);
    }
    cel.Close();
  }
}

TEST_F(UnifiedCelTest, RealisticArrayReadsBackInEveryForm) {
  const CelArray array = arraywriters::MakeSyntheticCelArray(2560, 2560, kChipType);
  for (CelForm form : kAllCelForms) {
    SCOPED_TRACE(arraywriters::CelFormName(form));
    const std::string path = Save(form, array, "big.CEL");
    {
      UnifiedCELData cel;
      cel.SetFileName(path);
      ASSERT_TRUE(cel.Read(true));
      EXPECT_EQ(cel.GetChipType(), u"Mapping250K_Nsp");
      EXPECT_EQ(cel.GetNumCells(), 2560 * 2560);
      ExpectEveryCell(cel, form, array);
    }
    platform::RemoveFile(path);
  }
}

TEST_F(UnifiedCelTest, JunkAndMissingFilesRaiseUnableToOpen) {
  std::string xda = CelImage(CelForm::kXda, SmallArray());
  std::string generic = CelImage(CelForm::kGeneric, SmallArray());
  const std::string cases[] = {"junk", std::string(3, '\0'), xda.substr(0, xda.size() - 3),
                               generic.substr(0, generic.size() - 3)};
  for (const std::string& bytes : cases) {
    UnifiedCELData cel;
    cel.SetFileName(Save(bytes));
    EXPECT_THROW(static_cast<void>(cel.Read(true)), generic_exceptions::UnableToOpenFileException);
    EXPECT_FALSE(cel.HasAdapter());
    EXPECT_THROW(cel.GetChipType(), generic_exceptions::FileNotOpenException);
  }
  UnifiedCELData cel;
  cel.SetFileName(Path("missing.CEL"));
  EXPECT_THROW(static_cast<void>(cel.Read(true)), generic_exceptions::UnableToOpenFileException);
}

TEST_F(UnifiedCelTest, FailedReadLeavesZeroEntries) {
  // The header reads, so the legacy adapter is chosen; the cells then fail.
  std::string image = CelImage(CelForm::kTextV3, SmallArray());
  const std::size_t at = image.find("\n  2\t  1\t");
  image.replace(at, 9, "\n  7\t  1\t");
  // The error names the line of the cell outside the grid.
  const auto line = std::count(image.begin(), image.begin() + std::ptrdiff_t(at) + 1, '\n') + 1;
  UnifiedCELData cel;
  cel.SetFileName(Save(image));
  EXPECT_FALSE(cel.Read(true));
  EXPECT_EQ(StringUtils::WideToNarrow(cel.GetError()),
            "The file does not appear to be the correct format. CEL file: line " + std::to_string(line) +
                " is not a cell of its [INTENSITY] section.");
  UnifiedCELFileEntry entry;
  entry.Intensity = 9;
  cel.GetEntry(1, 1, entry);
  EXPECT_EQ(entry.Intensity, 0.0f);
  EXPECT_EQ(cel.GetIntensity(4), 0.0f);
  EXPECT_EQ(cel.GetNumCells(), 0);
}

TEST_F(UnifiedCelTest, LegacyAdapterChecksCellsAgainstTheGrid) {
  LegacyCELDataAdapter adapter;
  // No file read: no columns, and the conversions do not divide by them.
  EXPECT_EQ(adapter.IndexToX(7), 0);
  EXPECT_EQ(adapter.IndexToY(7), 0);
  adapter.SetFileName(Save(CelForm::kXda, SmallArray()));
  ASSERT_TRUE(adapter.Read(true));
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 3; ++x) {
      const int index = adapter.XYToIndex(x, y);
      EXPECT_EQ(adapter.IndexToX(index), x);
      EXPECT_EQ(adapter.IndexToY(index), y);
    }
  }
  struct Cell {
    int x, y;
  };
  for (Cell c : {Cell{3, 0}, Cell{-1, 0}, Cell{0, 4}, Cell{0, -1}, Cell{1 << 30, 1 << 30}}) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    UnifiedCELFileEntry entry;
    entry.Intensity = 1;
    adapter.GetEntry(c.x, c.y, entry);
    EXPECT_EQ(entry.Intensity, 0.0f);
    EXPECT_EQ(adapter.GetIntensity(c.x, c.y), 0.0f);
    EXPECT_EQ(adapter.GetPixels(c.x, c.y), 0);
    EXPECT_FALSE(adapter.IsMasked(c.x, c.y));
  }
  EXPECT_EQ(adapter.GetIntensity(12), 0.0f);
  EXPECT_EQ(adapter.GetIntensity(-5), 0.0f);
}

TEST_F(UnifiedCelTest, LegacyParametersCountFromZeroAndLoseNone) {
  CelArray array = SmallArray();
  array.algorithmParameters = "Percentile:75;OutlierHigh:1.500";
  LegacyCELDataAdapter adapter;
  adapter.SetFileName(Save(CelForm::kXda, array));
  ASSERT_TRUE(adapter.Read(true));
  ASSERT_EQ(adapter.GetNumberAlgorithmParameters(), 3);
  EXPECT_EQ(adapter.GetAlgorithmParameterTag(0), u"Percentile");
  EXPECT_EQ(adapter.GetAlgorithmParameterTag(2), u"CellMargin");
  EXPECT_EQ(adapter.GetAlgorithmParameterTag(3), u"");
  EXPECT_EQ(adapter.GetAlgorithmParameterTag(-1), u"");
  EXPECT_EQ(adapter.GetAlgorithmParameters(), u"Percentile:75;OutlierHigh:1.500;CellMargin:2");

  unified_io::UnifiedTagValuePairList list;
  list.push_back(unified_io::UnifiedTagValuePair{u"earlier", u"kept", {}});
  adapter.GetParameters(list);
  ASSERT_EQ(list.size(), 4u);
  auto it = list.begin();
  EXPECT_EQ(it->Tag, u"earlier");
  ++it;
  EXPECT_EQ(it->Tag, u"Percentile");
  EXPECT_EQ(it->Value, u"75");
  EXPECT_EQ(it->DetailedType.GetName(), u"Percentile");
  EXPECT_EQ(it->DetailedType.GetMIMEType(), u"text/plain");
  EXPECT_EQ(it->DetailedType.GetValueText(), u"75");
  ++it;
  EXPECT_EQ(it->Tag, u"OutlierHigh");
  EXPECT_EQ(it->Value, u"1.500");
  ++it;
  EXPECT_EQ(it->Tag, u"CellMargin");
  EXPECT_EQ(it->Value, u"2");
}

}  // namespace
