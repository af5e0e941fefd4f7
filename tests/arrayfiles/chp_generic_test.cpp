// CHP files in the generic container, through the generic CHP data object
// and its adapters.
#include <gtest/gtest.h>

#include <functional>

#include "arrayfiles/chp/CHPData.h"
#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/unified/GenericCHPDataAdapter.h"
#include "tests/arrayfiles/chp_test_files.h"
#include "tests/support/TempHome.h"

namespace {

using arraywriters::GenericChpFile;
using unified_io::GenericCHPDataAdapter;

class GenericChpTest : public qova::test::TempHomeTest {
 protected:
  bool Load(const GenericChpFile& file) { return LoadSpec(arraywriters::GenericChpSpec(file)); }
  bool LoadSpec(const arraywriters::GenericFileSpec& spec) {
    EXPECT_TRUE(arraywriters::WriteGenericFile(Path("generic.chp"), spec));
    adapter.SetFileName(Path("generic.chp"));
    return adapter.Read();
  }
  unified_io::IUnifiedCHPHeaderAdapter& Header() { return *adapter.GetHeader(); }

  GenericCHPDataAdapter adapter;
};

TEST_F(GenericChpTest, GenotypingFileGivesItsRowsAndRefusesOtherKinds) {
  ASSERT_TRUE(Load(chptest::GenericGenotyping()));
  EXPECT_EQ(Header().GetAssayType(), unified_io::kAssayGenotyping);
  EXPECT_EQ(Header().GetNumProbeSets(), 4);
  unified_io::UnifiedExpressionProbeSetResults expression;
  EXPECT_FALSE(adapter.GetExpressionResults(0, expression));
  unified_io::UnifiedUniversalProbeSetResults universal;
  EXPECT_FALSE(adapter.GetUniversalResults(0, universal));
  unified_io::UnifiedResequencingResults reseq;
  EXPECT_FALSE(adapter.GetResequencingResults(reseq));

  unified_io::UnifiedGenotypeProbeSetResults r;
  ASSERT_TRUE(adapter.GetGenotypingResults(2, r));
  EXPECT_EQ(r.alleleCall, 8);
  std::vector<float> values = {r.value1, r.value2, r.value3, r.value4, r.value5, r.value6, r.value7};
  EXPECT_EQ(values, (std::vector<float>{-1, -2, -3, -4, -5, -6, -7}));
  const char* calls[] = {"A", "B", "AB", "No Call"};
  for (int i = 0; i < 4; ++i) {
    unified_io::UnifiedGenotypeProbeSetResults each;
    ASSERT_TRUE(adapter.GetGenotypingResults(i, each));
    EXPECT_EQ(each.GetAssignmentCallString(), calls[i]);
  }
}

TEST_F(GenericChpTest, NarrowAndWideProbeSetNamesReadAlike) {
  std::vector<std::string> seen[2];
  for (bool wide : {false, true}) {
    ASSERT_TRUE(Load(chptest::GenericGenotyping(wide)));
    EXPECT_EQ(adapter.GetCHPData().WideProbeSetNames(), wide);
    for (int i = 0; i < 4; ++i) {
      unified_io::UnifiedGenotypeProbeSetResults r;
      ASSERT_TRUE(adapter.GetGenotypingResults(i, r));
      seen[wide].push_back(adapter.GetProbeSetName(i) + "/" + r.GetAssignmentCallString() + "/" +
                           std::to_string(r.value2));
    }
  }
  EXPECT_EQ(seen[0], seen[1]);
  EXPECT_EQ(seen[0][1], "SNP_A-22/B/2.000000");
}

TEST_F(GenericChpTest, GenotypeRowsAreReadOnlyThroughColumnsThatExist) {
  arraywriters::GenericFileSpec spec = arraywriters::GenericChpSpec(chptest::GenericGenotyping());
  arraywriters::GenericDataSetSpec& set = spec.groups[0].dataSets[0];
  // Keep the name and the call; the seven values are gone.
  set.columns.resize(2);
  set.elements.clear();
  for (const auto& row : chptest::GenericGenotyping().genotyping) {
    arraywriters::AppendText8Cell(set.elements, row.probeSetName, set.columns[0].size);
    arraywriters::AppendInt8Cell(set.elements, std::int8_t(row.call));
  }
  ASSERT_TRUE(LoadSpec(spec));
  unified_io::UnifiedGenotypeProbeSetResults r;
  ASSERT_TRUE(adapter.GetGenotypingResults(3, r));
  EXPECT_EQ(r.alleleCall, 11);
  ASSERT_TRUE(adapter.GetGenotypingResults(1, r));
  EXPECT_EQ(r.alleleCall, 7);
  EXPECT_EQ(r.value1, 0.0f);
  EXPECT_EQ(r.value7, 0.0f);
}

// The calls read alone, the column at once, are the calls of the rows, also
// where the call column is wider than a byte or missing.
TEST_F(GenericChpTest, CallsReadAloneAreTheRowsCalls) {
  using Change = std::function<void(arraywriters::GenericDataSetSpec&)>;
  const auto rebuild = [](arraywriters::GenericDataSetSpec& set, std::int32_t callSize, bool withCall) {
    set.columns.resize(withCall ? 2 : 1);
    if (withCall) set.columns[1] = {u"Call", arraywriters::kColumnInt32, callSize};
    set.elements.clear();
    for (const auto& row : chptest::GenericGenotyping().genotyping) {
      arraywriters::AppendText8Cell(set.elements, row.probeSetName, set.columns[0].size);
      if (!withCall) continue;
      set.elements.push_back(char(row.call));
      set.elements.append(std::size_t(callSize - 1), char(0x55));
    }
  };
  const std::vector<std::pair<const char*, Change>> cases = {
      {"as written", [](arraywriters::GenericDataSetSpec&) {}},
      {"a call column of four bytes", [&](arraywriters::GenericDataSetSpec& set) { rebuild(set, 4, true); }},
      {"no call column", [&](arraywriters::GenericDataSetSpec& set) { rebuild(set, 1, false); }},
  };
  for (const auto& [what, change] : cases) {
    SCOPED_TRACE(what);
    arraywriters::GenericFileSpec spec = arraywriters::GenericChpSpec(chptest::GenericGenotyping());
    change(spec.groups[0].dataSets[0]);
    ASSERT_TRUE(LoadSpec(spec));
    std::vector<std::uint8_t> calls;
    ASSERT_TRUE(adapter.GetGenotypeCalls(calls));
    std::vector<std::uint8_t> rowCalls;
    unified_io::UnifiedGenotypeProbeSetResults r;
    for (int i = 0; adapter.GetGenotypingResults(i, r); ++i) rowCalls.push_back(r.alleleCall);
    EXPECT_EQ(calls, rowCalls);
    EXPECT_EQ(calls.size(), chptest::GenericGenotyping().genotyping.size());
  }
}

TEST_F(GenericChpTest, NarrowColumnsAreNotReadPastTheirWidth) {
  arraywriters::GenericFileSpec spec = arraywriters::GenericChpSpec(chptest::GenericGenotyping());
  arraywriters::GenericDataSetSpec& set = spec.groups[0].dataSets[0];
  // Every value column one byte wide: a float must not be taken from it.
  set.elements.clear();
  for (std::size_t c = 2; c < set.columns.size(); ++c) set.columns[c] = {u"Narrow", 1, 1};
  for (const auto& row : chptest::GenericGenotyping().genotyping) {
    arraywriters::AppendText8Cell(set.elements, row.probeSetName, set.columns[0].size);
    set.elements.append(8, char(0x7F));
  }
  ASSERT_TRUE(LoadSpec(spec));
  unified_io::UnifiedGenotypeProbeSetResults r;
  ASSERT_TRUE(adapter.GetGenotypingResults(3, r));
  EXPECT_EQ(r.alleleCall, 0x7F);
  EXPECT_EQ(r.value1, 0.0f);
  EXPECT_EQ(r.value7, 0.0f);
}

TEST_F(GenericChpTest, AssayTypesFollowTheFileTypeIds) {
  struct Case {
    GenericChpFile file;
    int assay;
  } cases[] = {{chptest::GenericExpression(true), unified_io::kAssayExpression},
               {chptest::GenericGenotyping(), unified_io::kAssayGenotyping},
               {chptest::GenericResequencing(), unified_io::kAssayResequencing},
               {chptest::GenericUniversal(), unified_io::kAssayUniversal}};
  for (const Case& c : cases) {
    ASSERT_TRUE(Load(c.file)) << c.file.fileTypeId;
    EXPECT_EQ(Header().GetAssayType(), c.assay);
  }
}

TEST_F(GenericChpTest, HeaderQuestionsAreAnsweredFromTheParameters) {
  ASSERT_TRUE(Load(chptest::GenericGenotyping()));
  EXPECT_EQ(Header().GetChipType(), u"Mapping250K_Nsp");
  EXPECT_EQ(Header().GetAlgName(), u"BRLMM");
  EXPECT_EQ(Header().GetAlgVersion(), u"1.0");
  EXPECT_EQ(Header().GetParentCellFile(), u"C:\\data\\S05.CEL");
  EXPECT_EQ(Header().GetProgID(), u"Generic.Prog.1");
  EXPECT_EQ(Header().GetRows(), 2560);
  EXPECT_EQ(Header().GetCols(), 2561);
  EXPECT_EQ(Header().GetMagic(), 59);
  EXPECT_EQ(Header().GetVersion(), 1);
  EXPECT_EQ(adapter.GetFileId(), "0123-abcd");
  EXPECT_NE(adapter.GetGenericData(), nullptr);
  EXPECT_EQ(Header().GetNumAlgorithmParameters(), 3);
  EXPECT_EQ(Header().GetNumSummaryParameters(), 2);
  EXPECT_EQ(Header().GetAlgorithmParameter(u"Bandwidth"), u"0.250000");
  EXPECT_EQ(Header().GetAlgorithmParameter(u"Seed"), u"7");
  EXPECT_EQ(Header().GetAlgorithmParameter(u"Absent"), u"");
  EXPECT_EQ(Header().GetSummaryParameter(u"CalledGender"), u"F");
  EXPECT_EQ(Header().GetSummaryParameter(u"calledgender"), u"");
}

TEST_F(GenericChpTest, UniversalAndResequencingResults) {
  ASSERT_TRUE(Load(chptest::GenericUniversal()));
  unified_io::UnifiedUniversalProbeSetResults u;
  ASSERT_TRUE(adapter.GetUniversalResults(1, u));
  EXPECT_FLOAT_EQ(u.value, -1.25f);
  EXPECT_FALSE(adapter.GetUniversalResults(3, u));
  EXPECT_EQ(adapter.GetProbeSetName(0), "");

  ASSERT_TRUE(Load(chptest::GenericResequencing()));
  unified_io::UnifiedResequencingResults r;
  ASSERT_TRUE(adapter.GetResequencingResults(r));
  ASSERT_TRUE(adapter.GetResequencingResults(r));
  EXPECT_EQ(std::string(r.calledBases.begin(), r.calledBases.end()), "GATGAT");
  ASSERT_EQ(r.scores.size(), 6u);
  EXPECT_FLOAT_EQ(r.scores[2], 0.25f);
  ASSERT_EQ(r.forceCalls.size(), 2u);
  EXPECT_EQ(r.forceCalls[0].position, 100);
  EXPECT_EQ(r.forceCalls[0].call, 'C');
  EXPECT_EQ(r.forceCalls[0].code, 2);
  ASSERT_EQ(r.origCalls.size(), 4u);
  EXPECT_EQ(r.origCalls[1].position, -3);
  EXPECT_EQ(r.origCalls[1].call, 'A');
}

TEST_F(GenericChpTest, FilesItCannotAnswerForAreNotRead) {
  // A legacy file, a missing one, junk, a genotyping file without its
  // results, and one whose row count is an integer of another type.
  ASSERT_TRUE(arraywriters::WriteBytes(Path("xda.chp"), chptest::XdaGenotyping().Bytes()));
  ASSERT_TRUE(arraywriters::WriteBytes(Path("junk.chp"), std::string(100, ';')));
  arraywriters::GenericFileSpec noResults = arraywriters::GenericChpSpec(chptest::GenericGenotyping());
  noResults.groups[0].name = u"Other Results";
  ASSERT_TRUE(arraywriters::WriteGenericFile(Path("noresults.chp"), noResults));
  arraywriters::GenericFileSpec floatRows = arraywriters::GenericChpSpec(chptest::GenericGenotyping());
  for (auto& param : floatRows.header.parameters) {
    if (param.name == u"vendor-cel-rows") param = arraywriters::FloatParameter(u"vendor-cel-rows", 2560.0f);
  }
  ASSERT_TRUE(arraywriters::WriteGenericFile(Path("floatrows.chp"), floatRows));
  for (const char* name : {"xda.chp", "absent.chp", "junk.chp", "noresults.chp", "floatrows.chp"}) {
    SCOPED_TRACE(name);
    adapter.SetFileName(Path(name));
    EXPECT_FALSE(adapter.CanReadFile());
    EXPECT_EQ(Header().GetNumProbeSets(), 0);
    EXPECT_EQ(adapter.GetFileName(), Path(name));
  }
}

TEST_F(GenericChpTest, OneAdapterReadsFileAfterFile) {
  ASSERT_TRUE(Load(chptest::GenericGenotyping()));
  unified_io::UnifiedGenotypeProbeSetResults r;
  ASSERT_TRUE(adapter.GetGenotypingResults(0, r));
  ASSERT_TRUE(arraywriters::SaveGenericChp(Path("second.chp"), chptest::GenericExpression(true)));
  adapter.SetFileName(Path("second.chp"));
  ASSERT_TRUE(adapter.Read());
  EXPECT_EQ(Header().GetAssayType(), unified_io::kAssayExpression);
  EXPECT_EQ(adapter.GetProbeSetName(0), "1000_at");
  EXPECT_FALSE(adapter.GetGenotypingResults(0, r));
}

// ---- the data object itself ----------------------------------------------------------

class ChpDataTest : public qova::test::TempHomeTest {
 protected:
  void Read(const GenericChpFile& file) {
    ASSERT_TRUE(arraywriters::SaveGenericChp(Path("data.chp"), file));
    generic_io::CHPFileReader reader;
    reader.SetFilename(Path("data.chp"));
    reader.Read(data);
  }

  generic_io::CHPData data;
};

TEST_F(ChpDataTest, MissingResultSetRaisesTheContainersException) {
  Read(chptest::GenericGenotyping());
  generic_io::ExpressionResultRow row;
  EXPECT_THROW(data.GetExpressionEntry(0, row), generic_exceptions::DataGroupNotFoundException);
  data.Clear();
  EXPECT_EQ(data.GetFilename(), Path("data.chp"));
  EXPECT_EQ(data.GetEntryCount(), 0);
  EXPECT_EQ(data.GetFileTypeId(), "");
}

}  // namespace
