// The CHP reader registry, as the extraction uses it: a file name in, an
// object that read the file (or null) out.
#include <gtest/gtest.h>

#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/unified/UnifiedCHPData.h"
#include "arrayfiles/common/StringUtils.h"
#include "platform/Paths.h"
#include "tests/arrayfiles/chp_test_files.h"
#include "tests/support/TempHome.h"
#include "tools/arraywriters/CelWriters.h"

namespace {

using unified_io::UnifiedCHPDataReg;
using unified_io::UnifiedCHPLegacyData;

const std::vector<std::string> kRegisteredIds = {
    "vendor-expression-probeset-analysis", "vendor-resequencing-probeset-analysis",
    "vendor-genotyping-probeset-analysis", "vendor-universal-probeset-analysis", ""};

class ChpRegistryTest : public qova::test::TempHomeTest {
 protected:
  // What the extraction takes from a file: gender, chip type and the calls.
  std::string Extract(const std::string& path) {
    std::unique_ptr<unified_io::UnifiedCHPData> data = UnifiedCHPDataReg::Read(path);
    UnifiedCHPLegacyData* chp = UnifiedCHPLegacyData::FromBase(data.get());
    if (chp == nullptr) return "null";
    chp->CheckAdapter();
    std::u16string gender = chp->GetHeader().GetSummaryParameter(u"CalledGender");
    if (gender.empty()) gender = chp->GetHeader().GetSummaryParameter(u"Gender");
    std::string text = StringUtils::WideToNarrow(chp->GetHeader().GetChipType() + u" " + gender);
    int count = chp->Adapter().GetHeader()->GetNumProbeSets();
    for (int i = 0; i <= count; ++i) {
      unified_io::UnifiedGenotypeProbeSetResults r;
      chp->GetGenotypingResults(i, r);
      text += " " + r.GetAssignmentCallString();
    }
    return text;
  }

  // The same through a read of the calls alone, which makes no record per
  // probe set: its calls, and whether any record was made.
  std::string ExtractCalls(const std::string& path, bool& recordsMade) {
    std::string reason;
    std::unique_ptr<unified_io::UnifiedCHPData> data = UnifiedCHPDataReg::Read(
        path, reason, [](unified_io::UnifiedCHPData& d) { UnifiedCHPLegacyData::FromBase(&d)->SetGenotypeCallsOnly(true); });
    UnifiedCHPLegacyData* chp = UnifiedCHPLegacyData::FromBase(data.get());
    if (chp == nullptr) return "null";
    std::u16string gender = chp->GetHeader().GetSummaryParameter(u"CalledGender");
    if (gender.empty()) gender = chp->GetHeader().GetSummaryParameter(u"Gender");
    std::string text = StringUtils::WideToNarrow(chp->GetHeader().GetChipType() + u" " + gender);
    std::vector<std::uint8_t> calls;
    if (!chp->GetGenotypeCalls(calls)) return text + " not genotyping";
    unified_io::UnifiedGenotypeProbeSetResults r;
    recordsMade = chp->GetGenotypingResults(0, r);
    calls.push_back(0);  // one past the last probe set, as Extract asks
    for (std::uint8_t call : calls) {
      r.alleleCall = call;
      text += " " + r.GetAssignmentCallString();
    }
    return text;
  }
};

TEST_F(ChpRegistryTest, EveryFormComesBackReadWithItsCalls) {
  arraywriters::OlderChpFile older = chptest::OlderGenotyping(13);
  older.summaryParameterText = "Gender=M";
  struct Case {
    const char* name;
    std::string bytes;
    std::string expected;
  } cases[] = {
      {"generic.chp", arraywriters::GenericChpBytes(chptest::GenericGenotyping()),
       "Mapping250K_Nsp F A B AB No Call No Call"},
      {"wide.chp", arraywriters::GenericChpBytes(chptest::GenericGenotyping(true)),
       "Mapping250K_Nsp F A B AB No Call No Call"},
      {"xda.chp", chptest::XdaGenotyping().Bytes(), "Mapping50K_Xba240 F A B AB No Call"},
      {"older.chp", older.Bytes(), "Mapping10K_Xba131 M A No Call AB No Call"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(arraywriters::WriteBytes(Path(c.name), c.bytes));
    EXPECT_EQ(Extract(Path(c.name)), c.expected);
    bool recordsMade = true;
    EXPECT_EQ(ExtractCalls(Path(c.name), recordsMade), c.expected);
    EXPECT_EQ(recordsMade, c.name[0] == 'g' || c.name[0] == 'w') << "the legacy readers make no record";
  }
  // Files of other kinds have no calls to give.
  ASSERT_TRUE(arraywriters::WriteBytes(Path("expression.chp"), chptest::XdaExpression(3).Bytes()));
  ASSERT_TRUE(arraywriters::WriteBytes(Path("universal.chp"), chptest::OlderUniversal(13).Bytes()));
  ASSERT_TRUE(arraywriters::SaveGenericChp(Path("gexpression.chp"), chptest::GenericExpression(false)));
  for (const char* name : {"expression.chp", "universal.chp", "gexpression.chp"}) {
    bool recordsMade = false;
    EXPECT_TRUE(ExtractCalls(Path(name), recordsMade).ends_with(" not genotyping")) << name;
  }
}

TEST_F(ChpRegistryTest, GenericFileIsReadThroughTheGenericAdapter) {
  ASSERT_TRUE(arraywriters::SaveGenericChp(Path("g.chp"), chptest::GenericGenotyping()));
  std::unique_ptr<unified_io::UnifiedCHPData> data = UnifiedCHPDataReg::Read(Path("g.chp"));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->GetObjectName(), "UnifiedCHPLegacyData");
  EXPECT_EQ(data->GetFileTypeIdentifiers(), kRegisteredIds);
  EXPECT_EQ(data->GetFileTypeIdentifier(), "vendor-genotyping-probeset-analysis");
  EXPECT_NE(data->GetGenericData(), nullptr);
  EXPECT_EQ(data->GetFileId(), "0123-abcd");
  EXPECT_EQ(data->GetFileName(), Path("g.chp"));
}

TEST_F(ChpRegistryTest, LegacyFileIsReadThroughTheLegacyAdapter) {
  ASSERT_TRUE(arraywriters::WriteBytes(Path("x.chp"), chptest::XdaGenotyping().Bytes()));
  std::unique_ptr<unified_io::UnifiedCHPData> data = UnifiedCHPDataReg::Read(Path("x.chp"));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->GetFileTypeIdentifier(), "");
  EXPECT_EQ(data->GetFileTypeIdentifiers(), kRegisteredIds);
  EXPECT_EQ(data->GetGenericData(), nullptr);
  EXPECT_EQ(data->GetFileId(), "");
}

TEST_F(ChpRegistryTest, FilesNoAdapterReadsGiveNull) {
  arraywriters::XdaChpFile newerXda = chptest::XdaGenotyping();
  newerXda.version = 3;
  arraywriters::GenericFileSpec noResults = arraywriters::GenericChpSpec(chptest::GenericGenotyping());
  noResults.groups[0].dataSets[0].name = u"Renamed";
  std::string truncated = arraywriters::GenericChpBytes(chptest::GenericGenotyping());
  truncated.resize(truncated.size() / 2);
  ASSERT_TRUE(arraywriters::SaveCelFile(Path("generic.cel"), arraywriters::CelForm::kGeneric,
                                        arraywriters::MakeSyntheticCelArray(4, 4, "Mapping10K_Xba131")));
  ASSERT_TRUE(arraywriters::WriteBytes(Path("junk.chp"), "a text file, not a CHP file\n"));
  ASSERT_TRUE(arraywriters::WriteBytes(Path("empty.chp"), ""));
  ASSERT_TRUE(arraywriters::WriteBytes(Path("newer.chp"), newerXda.Bytes()));
  ASSERT_TRUE(arraywriters::WriteGenericFile(Path("noresults.chp"), noResults));
  ASSERT_TRUE(arraywriters::WriteBytes(Path("truncated.chp"), truncated));
  ASSERT_TRUE(platform::CreateFolders(Path("folder.chp")));
  for (const char* name : {"absent.chp", "generic.cel", "junk.chp", "empty.chp", "newer.chp", "noresults.chp",
                           "truncated.chp", "folder.chp"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(UnifiedCHPDataReg::Read(Path(name)), nullptr);
  }
}

// A registration of the tests' own, for a kind of file no other test uses.
class TestChpData final : public unified_io::UnifiedCHPData {
 public:
  explicit TestChpData(std::string name) : name(std::move(name)) {}
  bool Read() override { return true; }
  bool ReadHeader() override { return true; }
  std::string GetFileId() override { return {}; }
  generic_io::GenericData* GetGenericData() override { return nullptr; }
  std::string GetObjectName() const override { return name; }

  std::string name;
};

class TestReg final : public UnifiedCHPDataReg {
 public:
  TestReg(std::string objectName, std::vector<std::string> ids) : objectName(std::move(objectName)) {
    SetFileTypeIds(ids);
  }
  std::unique_ptr<unified_io::UnifiedCHPData> MakeObject() const override {
    return std::make_unique<TestChpData>(objectName);
  }
  std::string objectName;
};

TEST(ChpRegistryOrderTest, LaterRegistrationsWinAndListlessOnesTakeTheRest) {
  {
    TestReg first("first", {"qova-test-kind"});
    TestReg second("second", {"other", "qova-test-kind"});
    EXPECT_EQ(UnifiedCHPDataReg::CreateObjectForId("qova-test-kind")->GetObjectName(), "second");
    EXPECT_EQ(UnifiedCHPDataReg::CreateObjectForId("vendor-probes-intensity"), nullptr);
    TestReg catchAll("catch-all", {});
    std::unique_ptr<unified_io::UnifiedCHPData> any = UnifiedCHPDataReg::CreateObjectForId("vendor-probes-intensity");
    ASSERT_NE(any, nullptr);
    EXPECT_EQ(any->GetObjectName(), "catch-all");
    EXPECT_EQ(any->GetFileTypeIdentifier(), "vendor-probes-intensity");
    EXPECT_TRUE(any->GetFileTypeIdentifiers().empty());
    // Listed ids still go to the registrations that list them.
    EXPECT_EQ(UnifiedCHPDataReg::CreateObjectForId("")->GetObjectName(), "UnifiedCHPLegacyData");
  }
  // Registrations that ended are gone from the list.
  EXPECT_EQ(UnifiedCHPDataReg::CreateObjectForId("qova-test-kind"), nullptr);
}

TEST_F(ChpRegistryTest, ReadingAnUnreadableFileDirectlyRaisesUnableToOpen) {
  ASSERT_TRUE(arraywriters::WriteBytes(Path("junk.chp"), "junk"));
  UnifiedCHPLegacyData chp;
  chp.SetFileName(Path("junk.chp"));
  EXPECT_THROW(chp.Read(), generic_exceptions::UnableToOpenFileException);
  EXPECT_THROW(chp.CheckAdapter(), generic_exceptions::FileNotOpenException);
  ASSERT_TRUE(arraywriters::WriteBytes(Path("x.chp"), chptest::XdaGenotyping().Bytes()));
  chp.SetFileName(Path("x.chp"));
  EXPECT_TRUE(chp.ReadHeader());
  EXPECT_EQ(chp.GetHeader().GetChipType(), u"Mapping50K_Xba240");
  EXPECT_TRUE(chp.Read());
}

}  // namespace
