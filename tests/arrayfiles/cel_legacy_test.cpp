// The legacy CEL reader over files of every legacy form made by our writers.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>

#include "arrayfiles/cel/LegacyCELFile.h"
#include "cel_test_files.h"
#include "tests/support/TempHome.h"

namespace {

using arraywriters::CelArray;
using arraywriters::CelForm;
using arraywriters::CelImage;
using arraywriters::WriteBytes;
using namespace cel_test;

constexpr CelForm kLegacyForms[] = {CelForm::kTextV3, CelForm::kTextV2, CelForm::kXda, CelForm::kBcel,
                                    CelForm::kCompact};

int FormatCode(CelForm form) {
  switch (form) {
    case CelForm::kTextV3:
    case CelForm::kTextV2: return CLegacyCELFile::kTextFormat;
    case CelForm::kXda: return CLegacyCELFile::kXdaFormat;
    case CelForm::kBcel: return CLegacyCELFile::kBcelFormat;
    default: return CLegacyCELFile::kCompactFormat;
  }
}

// Offset of the cell-margin field of an XDA image (after its three texts);
// the outlier count, masked count and sub-grid count follow it.
std::size_t XdaMarginOffset(const std::string& image) {
  std::size_t at = 20;
  for (int i = 0; i < 3; ++i) at += 4 + LE32At(image, at);
  return at;
}
// The same for a compact image, whose texts start after an 8-byte magic.
std::size_t CompactMarginOffset(const std::string& image) {
  std::size_t at = 24;
  for (int i = 0; i < 3; ++i) at += 4 + LE32At(image, at);
  return at;
}
// BCEL: the first text block's head follows the 66-byte header payload.
constexpr std::size_t kBcelFirstBlock = 86;
// Offset of the payload-length word of BCEL block `n` (0..2 texts, 3 cells, 4 masks, 5 outliers).
std::size_t BcelBlockLengthOffset(const std::string& image, int n) {
  std::size_t head = kBcelFirstBlock;
  for (int i = 0; i < n; ++i) head += 12 + BE32At(image, head + 4);
  return head + 4;
}

class LegacyCelTest : public CelFileTest {};

TEST_F(LegacyCelTest, EveryFormReadsBackEveryCell) {
  const CelArray array = SmallArray();
  for (CelForm form : kLegacyForms) {
    SCOPED_TRACE(arraywriters::CelFormName(form));
    CLegacyCELFile cel;
    cel.SetFileName(Save(form, array));
    ASSERT_TRUE(cel.Read()) << cel.GetError();
    EXPECT_EQ(cel.GetFileFormat(), FormatCode(form));
    const CLegacyCELHeader& h = cel.GetHeaderData();
    EXPECT_EQ(h.GetCols(), 3);
    EXPECT_EQ(h.GetRows(), 4);
    EXPECT_EQ(h.GetNumCells(), 12);
    EXPECT_EQ(cel.GetChipType(), kChipType);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 3; ++x) {
        const auto& cell = array.cells[std::size_t(y * 3 + x)];
        CLegacyCELFileEntry entry;
        cel.GetEntry(y * 3 + x, entry);
        EXPECT_EQ(entry.Intensity, cell.intensity) << x << "," << y;
        EXPECT_EQ(entry.Stdv, ExpectedStdv(form, cell)) << x << "," << y;
        EXPECT_EQ(entry.Pixels, ExpectedPixels(form, cell)) << x << "," << y;
        EXPECT_EQ(cel.GetPixels(x, y), ExpectedPixels(form, cell));
        EXPECT_EQ(cel.GetIntensity(y * 3 + x), cell.intensity);
      }
    }
    // Masked (1,0) and (2,3); outliers (2,1) and (0,3).
    EXPECT_EQ(cel.IsMasked(1, 0), KeepsMasks(form));
    EXPECT_EQ(cel.IsMasked(2, 3), KeepsMasks(form));
    EXPECT_FALSE(cel.IsMasked(0, 0));
    EXPECT_EQ(cel.IsOutlier(2, 1), KeepsOutliers(form));
    EXPECT_EQ(cel.IsOutlier(0, 3), KeepsOutliers(form));
    EXPECT_FALSE(cel.IsOutlier(1, 0));
    EXPECT_EQ(h.GetNumMasked(), KeepsMasks(form) ? 2u : 0u);
    EXPECT_EQ(h.GetNumOutliers(), KeepsOutliers(form) ? 2u : 0u);
    if (form != CelForm::kTextV2) {
      EXPECT_EQ(cel.GetAlg(), "Percentile");
      EXPECT_EQ(cel.GetAlgorithmParameter("OutlierHigh"), "1.500");
      EXPECT_EQ(h.GetCellMargin(), 2);
      EXPECT_EQ(h.GetGridCorners().upperRightX, 18000);
      EXPECT_EQ(h.GetGridCorners().lowerRightY, 18010);
      EXPECT_EQ(h.GetGridCorners().lowerLeftX, 15);
    }
  }
}

TEST_F(LegacyCelTest, CellsOutsideTheTableReadAsZero) {
  for (CelForm form : kLegacyForms) {
    SCOPED_TRACE(arraywriters::CelFormName(form));
    CLegacyCELFile cel;
    cel.SetFileName(Save(form, SmallArray()));
    ASSERT_TRUE(cel.Read());
    for (int index : {-1, 12, 1 << 30}) {
      CLegacyCELFileEntry entry;
      entry.Intensity = 5;
      cel.GetEntry(index, entry);
      EXPECT_EQ(entry.Intensity, 0.0f);
      EXPECT_EQ(entry.Stdv, 0.0f);
      EXPECT_EQ(entry.Pixels, 0);
    }
    EXPECT_EQ(cel.GetPixels(3, 0), 0);
    EXPECT_EQ(cel.GetPixels(-1, 2), 0);
    EXPECT_FALSE(cel.IsMasked(1 + 3, -1));
    EXPECT_EQ(cel.CellIndex(3, 0), -1);
    EXPECT_EQ(cel.CellIndex(2, 3), 11);
  }
}

TEST_F(LegacyCelTest, FailedOrClosedReadLeavesNoCells) {
  CLegacyCELFile cel;
  cel.SetFileName(Save(CelForm::kXda, SmallArray()));
  ASSERT_TRUE(cel.Read());
  cel.Close();
  EXPECT_FALSE(cel.IsMapped());
  EXPECT_EQ(cel.GetIntensity(0), 0.0f);
  EXPECT_EQ(cel.GetHeaderData().GetNumCells(), 0);

  std::string image = CelImage(CelForm::kXda, SmallArray());
  image.resize(image.size() - 1);
  cel.SetFileName(Save(image, "cut.CEL"));
  EXPECT_FALSE(cel.Read());
  EXPECT_FALSE(cel.IsMapped());
  EXPECT_EQ(cel.GetIntensity(0), 0.0f);
  EXPECT_FALSE(cel.IsMasked(1, 0));
}

TEST_F(LegacyCelTest, ReadFlagsDropMasksAndOutliers) {
  struct Case {
    bool masks, outliers;
  };
  for (CelForm form : {CelForm::kTextV3, CelForm::kXda, CelForm::kBcel, CelForm::kCompact}) {
    const std::string path = Save(form, SmallArray());
    for (Case c : {Case{false, true}, Case{true, false}, Case{false, false}}) {
      SCOPED_TRACE(std::string(arraywriters::CelFormName(form)) + (c.masks ? " masks" : "") +
                   (c.outliers ? " outliers" : ""));
      CLegacyCELFile cel;
      cel.SetFileName(path);
      cel.SetReadMaskedCells(c.masks);
      cel.SetReadOutlierCells(c.outliers);
      ASSERT_TRUE(cel.Read()) << cel.GetError();
      EXPECT_EQ(cel.GetHeaderData().GetNumMasked(), c.masks ? 2u : 0u);
      EXPECT_EQ(cel.IsMasked(1, 0), c.masks);
      const bool outliers = c.outliers && KeepsOutliers(form);
      EXPECT_EQ(cel.GetHeaderData().GetNumOutliers(), outliers ? 2u : 0u);
      EXPECT_EQ(cel.IsOutlier(2, 1), outliers);
      // The cells behind the dropped tables still read.
      EXPECT_EQ(cel.GetIntensity(11), SmallArray().cells[11].intensity);
    }
  }
}

TEST_F(LegacyCelTest, ChipTypeAndDatHeaderComeFromTheHeaderText) {
  CelArray array = SmallArray();
  for (CelForm form : {CelForm::kTextV3, CelForm::kXda, CelForm::kBcel, CelForm::kCompact}) {
    SCOPED_TRACE(arraywriters::CelFormName(form));
    CLegacyCELFile cel;
    cel.SetFileName(Save(form, array));
    ASSERT_TRUE(cel.Read());
    EXPECT_EQ(cel.GetDatHeader(), array.datHeader);
    EXPECT_EQ(cel.GetChipType(), kChipType);
  }
}

TEST_F(LegacyCelTest, CellMarginComesFromTheParameterInTheBigEndianForm) {
  CelArray array = SmallArray();
  array.algorithmParameters = "Percentile:75;CellMargin:7";
  CLegacyCELFile cel;
  cel.SetFileName(Save(CelForm::kBcel, array));
  ASSERT_TRUE(cel.Read());
  EXPECT_EQ(cel.GetHeaderData().GetCellMargin(), 7);
}

TEST_F(LegacyCelTest, TextFormsReadCarriageReturnLineEnds) {
  const CelArray array = SmallArray();
  for (CelForm form : {CelForm::kTextV3, CelForm::kTextV2}) {
    SCOPED_TRACE(arraywriters::CelFormName(form));
    CLegacyCELFile cel;
    cel.SetFileName(Save(WithCrLf(CelImage(form, array))));
    ASSERT_TRUE(cel.Read()) << cel.GetError();
    EXPECT_EQ(cel.GetChipType(), kChipType);
    EXPECT_EQ(cel.GetIntensity(7), array.cells[7].intensity);
    if (form == CelForm::kTextV3) {
      EXPECT_EQ(cel.GetDatHeader(), array.datHeader);
      EXPECT_TRUE(cel.IsOutlier(0, 3));
    }
  }
}

TEST_F(LegacyCelTest, RefusedFormsGiveTheirMessages) {
  struct Case {
    std::string bytes;
    const char* error;
    int format;
  };
  const CelArray array = SmallArray();
  std::string oldCompact;
  {
    std::ostringstream out;
    arraywriters::WriteOldCompactCel(out, array);
    oldCompact = out.str();
  }
  for (const Case& c : {Case{oldCompact, "This version of compact cel file is no longer supported.", 0},
                        Case{"just some text\n", "Unrecognized CEL file format.", 1},
                        Case{"", "Unrecognized CEL file format.", 1}}) {
    SCOPED_TRACE(c.error);
    CLegacyCELFile cel;
    cel.SetFileName(Save(c.bytes));
    EXPECT_FALSE(cel.Read());
    EXPECT_EQ(cel.GetError(), c.error);
    EXPECT_EQ(cel.GetFileFormat(), c.format);
  }
  CLegacyCELFile cel;
  cel.SetFileName(Path("missing.CEL"));
  EXPECT_FALSE(cel.Read());
  EXPECT_EQ(cel.GetError(), "Unable to open the file.");
}

TEST_F(LegacyCelTest, LyingFilesAreRefused) {
  const CelArray array = SmallArray();
  auto replace = [](std::string from, std::string to) {
    return [from, to](std::string& image) { image.replace(image.find(from), from.size(), to); };
  };
  // The binary forms and the text form's coordinate tables say where; the
  // other text failures keep the plain format message.
  struct Case {
    const char* name;
    CelForm form;
    std::function<void(std::string&)> mutate;
  };
  const std::map<std::string, std::string> says = {
      {"xda more cells than the grid",
       "the header's 3 columns, 4 rows and 13 cells do not make a grid"},
      {"compact more cells than the grid",
       "the header's 3 columns, 4 rows and 13 cells do not make a grid"},
      {"bcel more cells than the grid",
       "the header's 3 columns, 4 rows and 13 cells do not make a grid"},
      {"xda cell count past the grid",
       "13 cells do not make a grid"},
      {"xda huge cell count",
       "2147483647 cells do not make a grid"},
      {"xda negative rows",
       "-1 rows"},
      {"xda grid overflows",
       "65536 columns, 65536 rows"},
      {"xda huge header text",
       "the XDA header field at offset 24 runs past the end of the file"},
      {"xda negative header text",
       "the XDA header field at offset 24 runs past the end of the file"},
      {"xda huge outlier count",
       "the outlier table at offset 754 runs past the end of the file (1073741824 entries of 4 bytes, 8 bytes left)"},
      {"xda huge masked count",
       "the masked table at offset 746 runs past the end of the file (4294967295 entries of 4 bytes, 16 bytes left)"},
      {"xda masked cell past the columns",
       "the masked cell (3, 0) at offset 746 lies outside the grid of 3 x 4"},
      {"xda outlier above the grid",
       "the outlier cell (0, -1) at offset 758"},
      {"compact cell count past the grid",
       "13 cells do not make a grid"},
      {"compact huge masked count",
       "the masked table at offset 650 runs past the end of the file (536870912 entries of 4 bytes, 8 bytes left)"},
      {"compact masked cell past the rows",
       "the masked cell (2, 4) at offset 654"},
      {"bcel short header block",
       "the header block length at offset 12 is 40 bytes"},
      {"bcel huge header block",
       "the header block runs past the end of the file"},
      {"bcel huge text block",
       "the algorithm block at offset 245 runs past the end of the file (2147483392 bytes, 245 bytes left)"},
      {"bcel negative cell block",
       "the cell block at offset 374"},
      {"bcel cell block past the grid",
       "the masked block at offset 451"},
      {"bcel huge outlier block",
       "the outlier block at offset 474 runs past the end of the file (800 bytes, 16 bytes left)"},
      {"bcel grid overflows",
       "70000 columns, 70000 rows"},
      {"bcel outlier past the columns",
       "the outlier cell (3, 3) at offset 494"},
      {"text masked cell past the rows",
       "the [MASKS] cell (1, 4) at offset 828"},
  };
  // A consistent 13 x 1 file whose dimensions are then given as 3 x 4.
  auto moreCellsThanTheGrid = [](CelForm form, std::size_t rowsAt, std::size_t colsAt, bool bigEndian) {
    return [=](std::string& s) {
      s = CelImage(form, arraywriters::MakeSyntheticCelArray(13, 1, kChipType));
      auto patch = bigEndian ? PatchBE32 : PatchLE32;
      patch(s, rowsAt, 4);
      patch(s, colsAt, 3);
    };
  };
  const Case cases[] = {
      {"xda more cells than the grid", CelForm::kXda, moreCellsThanTheGrid(CelForm::kXda, 8, 12, false)},
      {"compact more cells than the grid", CelForm::kCompact, moreCellsThanTheGrid(CelForm::kCompact, 12, 16, false)},
      {"bcel more cells than the grid", CelForm::kBcel, moreCellsThanTheGrid(CelForm::kBcel, 28, 24, true)},
      {"xda cell count past the grid", CelForm::kXda, [](std::string& s) { PatchLE32(s, 16, 13); }},
      {"xda huge cell count", CelForm::kXda, [](std::string& s) { PatchLE32(s, 16, 0x7fffffff); }},
      {"xda negative rows", CelForm::kXda, [](std::string& s) { PatchLE32(s, 8, 0xffffffff); }},
      {"xda grid overflows", CelForm::kXda,
       [](std::string& s) { PatchLE32(s, 8, 65536), PatchLE32(s, 12, 65536); }},
      {"xda huge header text", CelForm::kXda, [](std::string& s) { PatchLE32(s, 20, 0x7ffffff0); }},
      {"xda negative header text", CelForm::kXda, [](std::string& s) { PatchLE32(s, 20, 0xfffffffc); }},
      {"xda huge outlier count", CelForm::kXda,
       [](std::string& s) { PatchLE32(s, XdaMarginOffset(s) + 4, 0x40000000); }},
      {"xda huge masked count", CelForm::kXda,
       [](std::string& s) { PatchLE32(s, XdaMarginOffset(s) + 8, 0xffffffff); }},
      {"xda masked cell past the columns", CelForm::kXda,
       [](std::string& s) { platform::WriteLE16(s.data() + s.size() - 16, 3); }},
      {"xda outlier above the grid", CelForm::kXda,
       [](std::string& s) { platform::WriteLE16(s.data() + s.size() - 2, 0xffff); }},
      {"compact cell count past the grid", CelForm::kCompact, [](std::string& s) { PatchLE32(s, 20, 13); }},
      {"compact huge masked count", CelForm::kCompact,
       [](std::string& s) { PatchLE32(s, CompactMarginOffset(s) + 4, 0x20000000); }},
      {"compact masked cell past the rows", CelForm::kCompact,
       [](std::string& s) { platform::WriteLE16(s.data() + s.size() - 2, 4); }},
      {"bcel short header block", CelForm::kBcel, [](std::string& s) { PatchBE32(s, 12, 40); }},
      {"bcel huge header block", CelForm::kBcel, [](std::string& s) { PatchBE32(s, 12, 0x7fffff00); }},
      {"bcel huge text block", CelForm::kBcel,
       [](std::string& s) { PatchBE32(s, BcelBlockLengthOffset(s, 1), 0x7fffff00); }},
      {"bcel negative cell block", CelForm::kBcel,
       [](std::string& s) { PatchBE32(s, BcelBlockLengthOffset(s, 3), 0xfffffff0); }},
      {"bcel cell block past the grid", CelForm::kBcel,
       [](std::string& s) { PatchBE32(s, BcelBlockLengthOffset(s, 3), 65); }},
      {"bcel huge outlier block", CelForm::kBcel,
       [](std::string& s) { PatchBE32(s, BcelBlockLengthOffset(s, 5), 800); }},
      {"bcel grid overflows", CelForm::kBcel, [](std::string& s) { PatchBE32(s, 24, 70000), PatchBE32(s, 28, 70000); }},
      {"bcel outlier past the columns", CelForm::kBcel, [](std::string& s) { PatchBE32(s, s.size() - 8, 3); }},
      {"text cell past the columns", CelForm::kTextV3, replace("\n  2\t  1\t", "\n  3\t  1\t")},
      {"text cell above the grid", CelForm::kTextV3, replace("\n  2\t  1\t", "\n  2\t -1\t")},
      {"text grid overflows", CelForm::kTextV3, replace("Cols=3\nRows=4", "Cols=65536\nRows=65536")},
      {"text grid larger than the file", CelForm::kTextV3, replace("Cols=3\nRows=4", "Cols=3000\nRows=4000")},
      {"text columns do not scan", CelForm::kTextV3, replace("Cols=3", "Cols=three")},
      {"text cell line does not scan", CelForm::kTextV3, replace("\n  2\t  1\t", "\n  2\tone\t")},
      {"text masked cell past the rows", CelForm::kTextV3, replace("CellHeader=X\tY\n1\t0", "CellHeader=X\tY\n1\t4")},
      {"text negative masked count", CelForm::kTextV3, replace("NumberCells=2", "NumberCells=-2")},
      {"text v2 lines missing", CelForm::kTextV2, [](std::string& s) { s.resize(s.rfind("0 3 ")); }},
      {"text v2 cell past the rows", CelForm::kTextV2, replace("\n2 1 ", "\n2 9 ")},
      {"text v2 grid overflows", CelForm::kTextV2, replace("COLS/ROWS=3 4", "COLS/ROWS=99999 99999")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string image = CelImage(c.form, array);
    c.mutate(image);
    CLegacyCELFile cel;
    cel.SetFileName(Save(image));
    EXPECT_FALSE(cel.Read());
    const std::string error = cel.GetError();
    EXPECT_TRUE(error.starts_with("The file does not appear to be the correct format.")) << error;
    if (auto it = says.find(c.name); it != says.end()) {
      EXPECT_NE(error.find(it->second), std::string::npos) << error;
    }
    EXPECT_FALSE(cel.IsMapped());
    EXPECT_EQ(cel.GetIntensity(0), 0.0f);
  }
}

TEST_F(LegacyCelTest, EveryTruncationOfABinaryFormFails) {
  for (CelForm form : {CelForm::kXda, CelForm::kBcel, CelForm::kCompact}) {
    SCOPED_TRACE(arraywriters::CelFormName(form));
    const std::string image = CelImage(form, SmallArray());
    for (std::size_t length = 0; length < image.size(); ++length) {
      CLegacyCELFile cel;
      cel.SetFileName(Save(image.substr(0, length)));
      ASSERT_FALSE(cel.Read()) << length;
      ASSERT_FALSE(cel.GetError().empty()) << length;
    }
  }
}

TEST_F(LegacyCelTest, DamagedBytesNeverReadOutsideTheFile) {
  // Every byte of each small file flipped in turn: the reader may accept or
  // refuse, but every cell it then hands out lies inside the file.
  for (CelForm form : kLegacyForms) {
    SCOPED_TRACE(arraywriters::CelFormName(form));
    const std::string image = CelImage(form, SmallArray());
    const std::string path = Path("damaged.CEL");
    for (std::size_t at = 0; at < image.size(); ++at) {
      std::string damaged = image;
      damaged[at] = static_cast<char>(damaged[at] ^ 0x5a);
      ASSERT_TRUE(WriteBytes(path, damaged));
      CLegacyCELFile cel;
      cel.SetFileName(path);
      if (!cel.Read()) continue;
      const CLegacyCELHeader& h = cel.GetHeaderData();
      ASSERT_LE(std::int64_t(h.GetNumCells()), std::int64_t(h.GetCols()) * h.GetRows()) << at;
      for (int i = -1; i <= h.GetNumCells(); ++i) {
        CLegacyCELFileEntry entry;
        cel.GetEntry(i, entry);
      }
      for (int y = -1; y <= h.GetRows() && y < 10; ++y) {
        for (int x = -1; x <= h.GetCols() && x < 10; ++x) {
          if (cel.IsMasked(x, y) || cel.IsOutlier(x, y)) {
            ASSERT_GE(cel.CellIndex(x, y), 0) << at;
          }
        }
      }
    }
  }
}

}  // namespace
