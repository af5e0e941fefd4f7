// CEL files in the generic container, through their data object and adapter.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "arrayfiles/cel/CELData.h"
#include "arrayfiles/common/StringUtils.h"
#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/unified/GenericCELDataAdapter.h"
#include "arrayfiles/unified/UnifiedCELData.h"
#include "cel_test_files.h"
#include "tests/support/TempHome.h"

namespace {

using namespace arraywriters;
using namespace cel_test;
using unified_io::GenericCELDataAdapter;
using unified_io::UnifiedCELFileEntry;

// The data-header parameters of a spec, for tests that change them.
std::vector<GenericParameterSpec>& Params(GenericFileSpec& spec) { return spec.header.parameters; }

void RemoveParams(GenericFileSpec& spec, const std::function<bool(const std::u16string&)>& drop) {
  auto& params = Params(spec);
  params.erase(std::remove_if(params.begin(), params.end(), [&](const auto& p) { return drop(p.name); }),
               params.end());
}

GenericDataSetSpec* FindSet(GenericFileSpec& spec, std::u16string_view name) {
  for (auto& set : spec.groups[0].dataSets) {
    if (set.name == name) return &set;
  }
  return nullptr;
}

class GenericCelTest : public qova::test::TempHomeTest {
 protected:
  // Writes the file described and reads it with a fresh adapter.
  GenericCELDataAdapter& Open(const GenericFileSpec& spec, const std::string& name = "generic.CEL") {
    const std::string path = Path(name);
    EXPECT_TRUE(WriteGenericFile(path, spec));
    adapter_ = std::make_unique<GenericCELDataAdapter>();
    adapter_->SetFileName(path);
    EXPECT_TRUE(adapter_->Read(true));
    return *adapter_;
  }
  bool CanRead(const GenericFileSpec& spec) {
    const std::string path = Path("check.CEL");
    EXPECT_TRUE(WriteGenericFile(path, spec));
    GenericCELDataAdapter adapter;
    adapter.SetFileName(path);
    return adapter.CanReadFile();
  }

  std::unique_ptr<GenericCELDataAdapter> adapter_;
};

TEST_F(GenericCelTest, HeaderFieldsComeFromTheDataHeader) {
  GenericCELDataAdapter& cel = Open(GenericCelSpec(SmallArray()));
  EXPECT_EQ(cel.GetFileId(), "cel-0001");
  EXPECT_EQ(cel.GetVersion(), 1);
  EXPECT_EQ(cel.GetChipType(), u"Mapping250K_Nsp");
  EXPECT_EQ(cel.GetMasterFileName(), u"Mapping250K_Nsp.master");
  EXPECT_EQ(cel.GetLibraryPackageName(), u"QOVA test library");
  EXPECT_EQ(cel.GetAlg(), u"Percentile");
  EXPECT_EQ(cel.GetDatHeader(), StringUtils::NarrowToWide(SmallArray().datHeader));
  EXPECT_EQ(cel.GetReadState(), 1);
  EXPECT_EQ(cel.GetError(), u"");
  EXPECT_EQ(cel.GetHeader(), u"");
  EXPECT_EQ(cel.GetHeaderKey(u"Cols"), u"");
  cel.SetError(u"ignored");
  EXPECT_EQ(cel.GetError(), u"");
  cel.Close();
  // Close keeps the data readable until Clear.
  EXPECT_EQ(cel.GetIntensity(1), SmallArray().cells[1].intensity);
  cel.Clear();
  EXPECT_EQ(cel.GetIntensity(1), 0.0f);
  EXPECT_EQ(cel.GetChipType(), u"");
}

TEST_F(GenericCelTest, MissingOptionalDataSetsReadAsEmpty) {
  GenericCelOptions options;
  options.omitStdDev = options.omitPixel = options.omitOutlier = options.omitMask = true;
  GenericCELDataAdapter& cel = Open(GenericCelSpec(SmallArray(), options));
  UnifiedCELFileEntry entry;
  cel.GetEntry(2, 1, entry);
  EXPECT_EQ(entry.Intensity, SmallArray().cells[5].intensity);
  EXPECT_EQ(entry.Stdv, 0.0f);
  EXPECT_EQ(entry.Pixels, 0);
  EXPECT_EQ(cel.GetStdv(5), 0.0f);
  EXPECT_EQ(cel.GetPixels(5), 0);
  EXPECT_FALSE(cel.IsOutlier(2, 1));
  EXPECT_FALSE(cel.IsMasked(1, 0));
  EXPECT_EQ(cel.GetNumOutliers(), 0);
  EXPECT_EQ(cel.GetNumMasked(), 0);
  std::vector<bool> flags;
  EXPECT_FALSE(cel.GetGenericData()->GetOutliers(5, flags));
  EXPECT_TRUE(flags.empty());
}

TEST_F(GenericCelTest, ShortStdDevGivesZeroPastItsEnd) {
  GenericFileSpec spec = GenericCelSpec(SmallArray());
  GenericDataSetSpec* stdev = FindSet(spec, u"StdDev");
  stdev->rowCount = 5;
  stdev->elements.resize(5 * 4);
  GenericCELDataAdapter& cel = Open(spec);
  UnifiedCELFileEntry entry;
  cel.GetEntry(4, entry);
  EXPECT_EQ(entry.Stdv, SmallArray().cells[4].stdv);
  cel.GetEntry(5, entry);
  EXPECT_EQ(entry.Stdv, 0.0f);
  EXPECT_EQ(entry.Intensity, SmallArray().cells[5].intensity);
  EXPECT_EQ(entry.Pixels, SmallArray().cells[5].pixels);
}

TEST_F(GenericCelTest, CellsBeyondTheIntensitiesReadAsZero) {
  GenericCELDataAdapter& cel = Open(GenericCelSpec(SmallArray()));
  for (int index : {-1, 12, 1 << 30}) {
    UnifiedCELFileEntry entry;
    entry.Intensity = 1;
    cel.GetEntry(index, entry);
    EXPECT_EQ(entry.Intensity, 0.0f);
    EXPECT_EQ(entry.Stdv, 0.0f);
    EXPECT_EQ(cel.GetIntensity(index), 0.0f);
    EXPECT_EQ(cel.GetPixels(index), 0);
    EXPECT_FALSE(cel.IsOutlier(index));
  }
  EXPECT_EQ(cel.XYToIndex(3, 0), -1);
  EXPECT_EQ(cel.GetIntensity(3, 0), 0.0f);
  EXPECT_EQ(cel.GetIntensity(0, 4), 0.0f);
}

TEST_F(GenericCelTest, FileWithoutColumnsNeverDivides) {
  GenericFileSpec spec = GenericCelSpec(SmallArray());
  RemoveParams(spec, [](const std::u16string& name) { return name == u"vendor-cel-cols"; });
  GenericCELDataAdapter& cel = Open(spec);
  EXPECT_EQ(cel.GetCols(), 0);
  EXPECT_EQ(cel.IndexToX(7), 0);
  EXPECT_EQ(cel.IndexToY(7), 0);
  EXPECT_EQ(cel.XYToIndex(1, 1), -1);
  EXPECT_FALSE(cel.IsOutlier(7));
  EXPECT_FALSE(cel.IsMasked(1, 0));
  // Cells by index still read.
  EXPECT_EQ(cel.GetIntensity(7), SmallArray().cells[7].intensity);
}

TEST_F(GenericCelTest, OutliersAreLookedUpByCoordinate) {
  CelArray array = arraywriters::MakeSyntheticCelArray(10, 8, kChipType);
  array.outliers = {{5, 2}, {3, 7}, {5, 2}};
  GenericCELDataAdapter& cel = Open(GenericCelSpec(array));
  EXPECT_TRUE(cel.IsOutlier(25));
  EXPECT_TRUE(cel.IsOutlier(73));
  EXPECT_TRUE(cel.IsOutlier(3, 7));
  EXPECT_FALSE(cel.IsOutlier(26));
  // The duplicate row counts once.
  EXPECT_EQ(cel.GetNumOutliers(), 2);
  std::vector<generic_io::XYCoord> coords;
  cel.GetGenericData()->GetOutlierCoords(coords);
  ASSERT_EQ(coords.size(), 2u);
  EXPECT_EQ(coords[0].xCoord, 5);
  EXPECT_EQ(coords[0].yCoord, 2);
  EXPECT_EQ(coords[1].xCoord, 3);
  EXPECT_EQ(coords[1].yCoord, 7);
  for (int index = 0; index < 80; ++index) {
    EXPECT_EQ(cel.IsMasked(index), cel.IsMasked(cel.IndexToX(index), cel.IndexToY(index))) << index;
  }
}

TEST_F(GenericCelTest, UnreadableFilesAreRefusedAtRead) {
  struct Case {
    const char* name;
    std::function<void(GenericFileSpec&)> mutate;
  };
  const Case cases[] = {
      {"no intensities", [](GenericFileSpec& s) { s.groups[0].dataSets.erase(s.groups[0].dataSets.begin()); }},
      {"intensities past the file", [](GenericFileSpec& s) { FindSet(s, u"Intensity")->rowCount = 1 << 20; }},
      {"intensity column too narrow",
       [](GenericFileSpec& s) { FindSet(s, u"Intensity")->columns[0] = {u"Intensity", kColumnFloat, 2}; }},
      {"pixels past the file", [](GenericFileSpec& s) { FindSet(s, u"Pixel")->rowCount = 1 << 20; }},
      {"stdev column too wide",
       [](GenericFileSpec& s) { FindSet(s, u"StdDev")->columns[0] = {u"StdDev", kColumnFloat, 8}; }},
      {"mask with one column", [](GenericFileSpec& s) { FindSet(s, u"Mask")->columns.resize(1); }},
      {"outliers past the file", [](GenericFileSpec& s) { FindSet(s, u"Outlier")->rowCount = 1 << 20; }},
      {"columns as a float",
       [](GenericFileSpec& s) {
         for (auto& p : Params(s)) {
           if (p.name == u"vendor-cel-cols") p = FloatParameter(p.name, 3.0f);
         }
       }},
      {"chip type as ascii",
       [](GenericFileSpec& s) {
         for (auto& p : Params(s)) {
           if (p.name == u"vendor-array-type") p = AsciiParameter(p.name, "chip");
         }
       }},
      {"no default group", [](GenericFileSpec& s) { s.groups[0].name = u"Other Group"; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GenericFileSpec spec = GenericCelSpec(SmallArray());
    c.mutate(spec);
    EXPECT_FALSE(CanRead(spec));
    unified_io::UnifiedCELData unified;
    unified.SetFileName(Path("check.CEL"));
    EXPECT_THROW(static_cast<void>(unified.Read(true)), generic_exceptions::UnableToOpenFileException);
  }
  EXPECT_TRUE(CanRead(GenericCelSpec(SmallArray())));
}

}  // namespace
